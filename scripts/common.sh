# Shared by ./run, ./test and the other scripts: packages, the two builds, a private Wine
# prefix and a private X display. Sourced, not run.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${VELKO_BUILD_DIR:-$ROOT/build}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINEARCH=win64

# What building and opening the program needs (the cross-build is configured with its tests, from
# GoogleTest's sources); ./test adds the native build's compiler, sanitizers and GoogleTest.
PACKAGES=(cmake make googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
          wine wine64 fonts-wine xvfb x11-utils imagemagick)
NATIVE_PACKAGES=(clang libclang-rt-dev libgtest-dev)

install_missing_packages() {
    local missing=() p
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    ((${#missing[@]} == 0)) && return 0
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

build_native() {
    cmake -S "$ROOT" -B "$BUILD/native" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build "$BUILD/native" -j"$(nproc)"
}

# Builds the Windows tree: everything, or only the targets named.
build_windows() {
    local targets=()
    (($# == 0)) || targets=(--target "$@")
    cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
          -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$BUILD/win" -j"$(nproc)" "${targets[@]}"
}

# Ends the script with a message on standard error.
die() {
    echo "$(basename "$0"): $*" >&2
    exit 1
}

# A private X display on a free number; its process id is kept to stop it again. Xvfb writes the
# number once the display is up; an Xvfb that ends before, or gives no number in time, is a failure.
XVFB_PID=
start_xvfb() {
    local fifo display=
    fifo=$(mktemp -u) && mkfifo "$fifo"
    mkdir -p "$BUILD"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >"$BUILD/xvfb.log" 2>&1 &
    XVFB_PID=$!
    read -r -t 30 display <"$fifo" || true
    rm -f "$fifo"
    kill -0 "$XVFB_PID" 2>/dev/null || die "Xvfb ended before its display came up (its output: $BUILD/xvfb.log)"
    [[ -n $display ]] || die "the X display did not come up within 30 s (Xvfb's output: $BUILD/xvfb.log)"
    export DISPLAY=":$display"
    xwininfo -root >/dev/null 2>&1 || die "the X display $DISPLAY does not answer (Xvfb's output: $BUILD/xvfb.log)"
}

# Waits up to seconds for a top-level window titled title on the display. Fails when it does not
# appear in time, when the process that should show it has ended, or when a private display died.
wait_for_window() {
    local title=$1 seconds=$2 process=$3 tick
    for ((tick = 0; tick < seconds * 5; tick++)); do
        xwininfo -name "$title" >/dev/null 2>&1 && return 0
        [[ -z $XVFB_PID ]] || kill -0 "$XVFB_PID" 2>/dev/null || die "the X display $DISPLAY died"
        kill -0 "$process" 2>/dev/null || die "the program ended before its window \"$title\" appeared"
        sleep 0.2
    done
    die "the window \"$title\" did not appear within $seconds s"
}

stop_xvfb() {
    [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}

# Starts a persistent wineserver for the prefix and boots the prefix once. Their output goes
# nowhere, so that Wine's background services never hold the caller's pipes open.
start_wine() {
    export WINEPREFIX=$1
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    if [[ ! -f $WINEPREFIX/.booted ]]; then
        wineboot -i </dev/null >/dev/null 2>&1
        touch "$WINEPREFIX/.booted"
    else
        wineboot </dev/null >/dev/null 2>&1 || true
    fi
    install_windows_fonts
}

# Fonts every Windows has and a new prefix lacks: Tahoma, which the dialog font "MS Shell Dlg 2"
# stands for, and Marlett, which draws the caption buttons. Checked on every start, so that
# prefixes made before get them too; programs started afterwards find them.
install_windows_fonts() {
    local font
    for font in tahoma.ttf tahomabd.ttf marlett.ttf; do
        cmp -s "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/$font" ||
            cp "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
    done
}

stop_wine() {
    [[ -n ${WINEPREFIX:-} ]] || return 0
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
}

# Every window of the prefix opens on one virtual desktop: real focus without a window manager.
# The script starts the desktop itself, with its output going nowhere, and it stays for the whole
# run. A desktop that a test's program started would hold that test's standard error, so that
# CTest would wait for the desktop to end, a second after the last program on it or many tests
# later; and a test starting just as it ended could die at once without a word. The desktop is
# named after the prefix, so that its window is told apart from another prefix's on the display.
keep_virtual_desktop() {
    local name tick
    name=$(basename "$WINEPREFIX")
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d "$name" /f </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$name" /d 1024x768 /f </dev/null >/dev/null 2>&1
    # A desktop started while the boot's (or the registry tool's) is ending would end with it.
    for ((tick = 0; tick < 100; tick++)); do
        [[ -z $(desktop_processes) ]] && break
        sleep 0.2
    done
    [[ -z $(desktop_processes) ]] || die "the desktop that starting Wine brought up did not end within 20 s"
    wine explorer /desktop="$name" </dev/null >/dev/null 2>&1 &
    wait_for_window "$name - Wine desktop" 20 $!
}

# The process ids of the prefix's desktops (explorer.exe /desktop), told apart by their prefix.
desktop_processes() {
    local pid
    for pid in $(pgrep -f 'explorer\.exe /desktop'); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$pid"
    done
    return 0
}
