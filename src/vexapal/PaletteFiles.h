// Whole files in and out: a palette file is read at once, and written so that it appears whole or
// not at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// No palette file comes near this; it keeps a mistaken input (a device, a huge image) out of memory.
constexpr std::size_t kMaxPaletteFileSize = 16 * 1024 * 1024;

// Reads the whole file. False with the reason when it cannot be read or is larger than the limit.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& reason);

// Writes the bytes under a temporary name beside the file, pushes them to the disk and only then
// renames them into place, replacing a file of that name with the old file's permissions. A link of that
// name stays, and the file it leads to is written (beside that file); a pipe or a device is refused. On
// failure the temporary file is removed, the file that was there is left as it was, and the reason is
// given.
bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& reason);
