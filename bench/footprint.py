#!/usr/bin/env python3
"""footprint.py GOAL_KB EXE [MAP]: the size of a Windows executable, its sections and the DLLs it
imports (objdump -p), judged against a goal for its file size. With the linker's map file, also what
costs the most: the input sections kept in the image, summed by library and by object file.
"""
import collections
import os
import re
import subprocess
import sys


def objdump(exe, option):
    return subprocess.run(["objdump", option, exe], check=True, capture_output=True, text=True).stdout


def sections(exe):
    """(name, size) of each section in the file, from objdump -h."""
    found = []
    for line in objdump(exe, "-h").splitlines():
        fields = line.split()
        if len(fields) >= 7 and fields[0].isdigit():
            found.append((fields[1], int(fields[2], 16)))
    return found


def imported_dlls(exe):
    return [line.split(":", 1)[1].strip() for line in objdump(exe, "-p").splitlines() if "DLL Name:" in line]


SECTION_LINE = re.compile(r"^ (\.\S+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")
SECTION_NAME = re.compile(r"^ (\.\S+)$")
SECTION_REST = re.compile(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")


def map_costs(map_path):
    """Bytes of kept input sections by library and by object ('library(member)' or the object's name)."""
    by_library, by_object = collections.Counter(), collections.Counter()
    pending = None
    with open(map_path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    start = text.find("Linker script and memory map")
    for line in text[max(start, 0):].splitlines():
        match = SECTION_LINE.match(line)
        if match:
            _, address, size, source = match.groups()
        else:
            name = SECTION_NAME.match(line)
            rest = SECTION_REST.match(line) if pending else None
            pending = name.group(1) if name else None
            if not rest:
                continue
            address, size, source = rest.groups()
        size, address = int(size, 16), int(address, 16)
        if not size or not address:  # discarded by --gc-sections, or not in the image
            continue
        source = source.strip()
        library = re.sub(r"\(.*\)$", "", source).rsplit("/", 1)[-1]
        by_library[library] += size
        by_object[os.path.basename(source.split("(")[0]) + (source[source.find("("):] if "(" in source else "")] += size
    return by_library, by_object


def main():
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    goal_kb, exe = float(sys.argv[1]), sys.argv[2]
    size = os.path.getsize(exe)
    kb = size / 1024
    verdict = "" if goal_kb <= 0 else ("met" if kb <= goal_kb else "MISSED")
    goal = f"goal <= {goal_kb:.0f} KB {verdict}" if goal_kb > 0 else "no goal"
    print(f"{exe}: {size} bytes = {kb:.1f} KB ({goal})")
    print("  sections: " + ", ".join(f"{name} {length}" for name, length in sections(exe)))
    print("  imports:  " + ", ".join(imported_dlls(exe)))
    if len(sys.argv) > 3 and os.path.exists(sys.argv[3]):
        by_library, by_object = map_costs(sys.argv[3])
        print("  largest libraries (bytes kept in the image):")
        for name, length in by_library.most_common(8):
            print(f"    {length:8d}  {name}")
        print("  largest object files:")
        for name, length in by_object.most_common(12):
            print(f"    {length:8d}  {name}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
