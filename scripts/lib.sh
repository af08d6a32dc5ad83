# lib.sh: what the scripts share. Sourced, never run: `. "$(dirname "$0")/lib.sh"`.

# Wine names Unix files in the locale's character set, so a Windows name outside ASCII (the tests'
# Cyrillic and Japanese ones, a user's) needs a UTF-8 locale. A bare environment (a service, `env -i`)
# has none, or names one that is not installed: then C.UTF-8, which every Debian system has. A caller
# that sets LC_ALL itself chose (Wine takes its language from that name even where the system lacks it).
[[ -n ${LC_ALL:-} || $(locale charmap 2>/dev/null) == UTF-8 ]] || export LC_ALL=C.UTF-8

# Wine as Debian's wine64 package installs it (only 64-bit programs run on these machines).
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

# The usage text: the comment block at the top of the calling script, without its comment marks.
usage() {
    awk 'NR > 1 && !/^#/ {exit} NR > 1 {sub(/^# ?/, ""); print}' "$0"
}

# The version of Vexa as CMakeLists.txt gives it, "1.7".
vexa_version() {
    sed -n 's/^project(Vexa VERSION \([0-9.]*\).*/\1/p' "$(dirname "${BASH_SOURCE[0]}")/../CMakeLists.txt"
}

# The options scripts/dist configures the i686 release with, for the build folder $1 (its link map goes
# there): scripts/test builds and runs exactly that file.
i686_release_options() {
    release_options=(-DCMAKE_BUILD_TYPE=MinSizeRel -DVEXA_TESTS=OFF "-DCMAKE_EXE_LINKER_FLAGS=-Wl,-Map,$1/Vexa.map")
}

# The first X display number from $1 on that no server holds.
free_display() {
    local number=$1
    while [[ -e /tmp/.X$number-lock || -e /tmp/.X11-unix/X$number ]]; do number=$((number + 1)); done
    echo "$number"
}

# Installs the Debian packages of those named that are missing; false when that fails.
install_missing() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    ((EUID == 0)) || sudo=(sudo)
    echo "Installing ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    # A fresh machine has no package lists yet: update when the first try fails.
    { "${sudo[@]}" apt-get install -y -q "${missing[@]}" </dev/null ||
        { "${sudo[@]}" apt-get update -q </dev/null && "${sudo[@]}" apt-get install -y -q "${missing[@]}" </dev/null; }; } >&2
}

# Wine's own fonts (package fonts-wine): Marlett draws the caption buttons, Tahoma and MS Sans Serif the
# dialogs and menus. Debian's 64-bit-only Wine does not load them from here, only from a prefix's Fonts
# folder.
wine_fonts=/usr/share/wine/fonts

# Makes the Wine prefix $WINEPREFIX once (about 15 s), starts its server and sets what every prefix of
# Vexa's needs on an X server without a window manager: Wine's own fonts, without which Wine draws the
# caption buttons as letters and every text in a stand-in font; a private colormap, which gives a
# realised palette all 236 free slots; unmanaged windows, which spare Wine a 2 s wait for a window
# manager at each close; and no version emulation. False when Wine's fonts are missing.
prepare_wine_prefix() {
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        mkdir -p "$(dirname "$WINEPREFIX")"
        "$wine" wineboot -i >/dev/null 2>&1
    fi
    # Copied into an older prefix as well; a font already there is left alone.
    [[ -f $wine_fonts/marlett.ttf ]] ||
        { echo "Wine's fonts are missing from $wine_fonts (Debian package fonts-wine)" >&2; return 1; }
    local fonts=$WINEPREFIX/drive_c/windows/Fonts font
    mkdir -p "$fonts" || return 1
    for font in "$wine_fonts"/*; do
        [[ -e $fonts/${font##*/} ]] || cp "$font" "$fonts/" || return 1
    done
    "$wineserver" -p 2>/dev/null || true
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v PrivateColorMap /t REG_SZ /d Y /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    "$wine" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1 || true
}

# Waits until the X server $DISPLAY answers; false after 10 s.
wait_for_display() {
    local _
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}
