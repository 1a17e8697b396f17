#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds CVcoms.dll, the Win32 test server and the Win32 link tests with
# mingw-w64 and runs them under Wine on a virtual X display. Installs what is
# missing first (mingw-w64 for i686, Wine with its 32-bit part, Xvfb).
# Fails, saying why, when a step fails or Wine cannot start here.
set -euo pipefail
cd "$(dirname "$0")/../.."

usage() {
    cat <<'USAGE'
Usage: tests/win32/run.sh [--build-dir DIR] [--batches N]

Installs what is missing (needs root or sudo for apt-get), builds CVcoms.dll,
the Win32 test server, the program's core, the Win32 host, the canvas on a
memory bitmap, the stand-in simulator fltsim98.exe and the program
corvane.exe with mingw-w64 for 32-bit Windows, checks the DLL's exports and
imports, builds the data files (airdata.tri, COAST2.int) with the Linux
converter, and runs the tests under xvfb-run wine in a throwaway Wine prefix
(the last runs corvane.exe against the stand-in). Where this machine cannot run
32-bit programs (a kernel without 32-bit emulation), or its package mirror
cannot give the 32-bit Wine (wine32:i386), the same sources are built for
64-bit Windows as well and the tests run under 64-bit Wine; it says so.
Ends with "N passed, M failed"; the exit status is non-zero when anything
failed or Wine could not start.

  --build-dir DIR  build folder (default: build-win32, or $CORVANE_WIN32_BUILD_DIR)
  --batches N      batches timed for the round trip (default 1000)
  --help           show this text
USAGE
}

build="${CORVANE_WIN32_BUILD_DIR:-build-win32}"
batches=1000
while [ $# -gt 0 ]; do
    case "$1" in
        --build-dir) build="${2:?--build-dir wants a folder}"; shift 2 ;;
        --batches) batches="${2:?--batches wants a number}"; shift 2 ;;
        -h|--help) usage; exit 0 ;;
        *) echo "run.sh: unknown argument '$1' (try --help)" >&2; exit 2 ;;
    esac
done

say() { echo "win32: $*"; }
fail() { echo "win32: error: $*" >&2; exit 1; }
started=$SECONDS

# --- What the build and the run need -----------------------------------------
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null && sudo=(sudo)
fi
# apt-get update, once, the first time something is missing. A mirror whose
# index is caught mid-sync fails the update for that one index; the indexes it
# did fetch are still good, so the install goes on with them and fails on its
# own, naming the packages, where they are not enough.
updated=no
apt_update() {
    [ "$updated" = yes ] && return 0
    updated=yes
    if ! "${sudo[@]}" apt-get update -qq 2>"$build_log_dir/apt-update.log"; then
        sed 's/^/  /' "$build_log_dir/apt-update.log" >&2
        say "apt-get update reported the errors above; going on with the package indexes it has"
    fi
}
apt_install() {  # apt_install PACKAGE...
    if [ "$(id -u)" -ne 0 ] && [ ${#sudo[@]} -eq 0 ]; then
        fail "need root (or sudo) to install $*"
    fi
    apt_update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "$@" >"$build_log_dir/apt-install.log" 2>&1
}
build_log_dir="$(mktemp -d)"
trap 'rm -rf "$build_log_dir"' EXIT

packages=()
command -v cmake >/dev/null || packages+=(cmake)
command -v ninja >/dev/null || packages+=(ninja-build)
command -v i686-w64-mingw32-g++ >/dev/null || packages+=(g++-mingw-w64-i686)
command -v wine >/dev/null || packages+=(wine)
command -v xvfb-run >/dev/null || packages+=(xvfb)
command -v xauth >/dev/null || packages+=(xauth)
# The Linux converter that makes the data files.
for p in g++ zlib1g-dev nlohmann-json3-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || packages+=("$p")
done
if [ ${#packages[@]} -gt 0 ]; then
    say "installing ${packages[*]}"
    apt_install "${packages[@]}" ||
        { tail -n 20 "$build_log_dir/apt-install.log" >&2; fail "apt-get install ${packages[*]} failed"; }
fi
# The 32-bit Wine comes from the i386 architecture, whose libraries must be the
# very versions of their amd64 twins. Where the mirror cannot give them (its
# i386 index stale or missing), the tests run on the same sources built for
# 64-bit Windows instead, and say so.
wine32_missing=""
if [ ! -x /usr/lib/wine/wine ]; then
    say "installing wine32:i386"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo[@]}" dpkg --add-architecture i386
        updated=no
    fi
    if ! apt_install wine32:i386; then
        tail -n 20 "$build_log_dir/apt-install.log" | sed 's/^/  /' >&2
        wine32_missing="the 32-bit Wine (wine32:i386) cannot be installed from this machine's package mirror"
        say "$wine32_missing"
    fi
fi

# --- Build ---------------------------------------------------------------------
say "building in $build"
mkdir -p "$build"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S tests/win32 -B "$build" -G Ninja --toolchain "$PWD/cmake/mingw-w64-i686.cmake" "${launcher[@]}" \
    >"$build/configure.log" 2>&1 || { cat "$build/configure.log" >&2; fail "configuring failed"; }
cmake --build "$build" -j 2 || fail "the build failed"

# The data files the program reads, made from data/ by the Linux converter.
say "building the data files"
native="$build/native"
cmake -S . -B "$native" -G Ninja -DCORVANE_BUILD_UI=OFF -DCORVANE_BUILD_TESTS=OFF \
    -DCORVANE_BUILD_BENCH=OFF "${launcher[@]}" >"$build/native-configure.log" 2>&1 ||
    { cat "$build/native-configure.log" >&2; fail "configuring the data-file converter failed"; }
cmake --build "$native" -j 2 --target navdata_files >"$build/native-build.log" 2>&1 ||
    { tail -n 40 "$build/native-build.log" >&2; fail "building the data files failed"; }

# --- The DLL's exports and imports ---------------------------------------------
passed=0
failed=0
check() {  # check NAME COMMAND...
    local name="$1"; shift
    if "$@"; then passed=$((passed + 1)); echo "PASS $name"
    else failed=$((failed + 1)); echo "FAIL $name"; fi
}
dump="$(i686-w64-mingw32-objdump -p "$build/CVcoms.dll")"
exports_are_the_thirteen() {
    local expected actual
    expected="$(printf '%s\n' fsworking startit stopit readDWORD writeDWORD readxbytes \
        writexbytes startmessage sendmessage rawreadxbytes rawwritexbytes rawreadDWORD \
        rawwriteDWORD | sort)"
    actual="$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
        sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' | sort)"
    [ "$actual" = "$expected" ] || { echo "  exports: $(echo $actual)"; return 1; }
}
# The imports of one DLL from the import tables: "<dll> <function>" lines.
imports() {
    awk '/DLL Name:/ { dll = toupper($3) } /^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_]/ { print dll, $3 }' \
        <<<"$dump"
}
user32_calls_are_the_link_calls() {
    local actual
    actual="$(imports | awk '$1 == "USER32.DLL" { print $2 }' | sort | tr '\n' ' ')"
    [ "$actual" = "FindWindowExA RegisterWindowMessageA SendMessageTimeoutA " ] ||
        { echo "  USER32 imports: $actual"; return 1; }
}
kernel32_has_the_link_calls() {
    local call missing=""
    for call in GlobalAddAtomA GlobalDeleteAtom CreateFileMappingA MapViewOfFile \
        UnmapViewOfFile CloseHandle GetCurrentProcessId GetLastError; do
        imports | grep -qx "KERNEL32.DLL $call" || missing+=" $call"
    done
    [ -z "$missing" ] || { echo "  KERNEL32 imports missing:$missing"; return 1; }
}
check dll_exports_exactly_the_thirteen_undecorated_names exports_are_the_thirteen
check dll_user32_calls_are_the_link_calls user32_calls_are_the_link_calls
check dll_imports_the_kernel32_link_calls kernel32_has_the_link_calls

# --- Wine ------------------------------------------------------------------------
work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$work" "$build_log_dir"
}
trap cleanup EXIT

# The folder whose programs run, and the Wine that runs them.
run_dir="$build"
wine_program=wine
# Builds the same sources for 64-bit Windows and runs the tests there, under
# 64-bit Wine in a prefix of its own.
use_64bit_windows() {  # use_64bit_windows WHY
    say "$1; testing the same sources built for 64-bit Windows"
    extra=()
    command -v x86_64-w64-mingw32-g++ >/dev/null || extra+=(g++-mingw-w64-x86-64)
    [ -x /usr/lib/wine/wine64 ] || extra+=(wine64)
    if [ ${#extra[@]} -gt 0 ]; then
        apt_install "${extra[@]}" ||
            { tail -n 20 "$build_log_dir/apt-install.log" >&2; fail "apt-get install ${extra[*]} failed"; }
    fi
    run_dir="$build/x86_64"
    mkdir -p "$run_dir"
    cmake -S tests/win32 -B "$run_dir" -G Ninja --toolchain "$PWD/cmake/mingw-w64-x86_64.cmake" "${launcher[@]}" \
        >"$run_dir/configure.log" 2>&1 || { cat "$run_dir/configure.log" >&2; fail "configuring for 64-bit Windows failed"; }
    cmake --build "$run_dir" -j 2 || fail "the 64-bit build failed"
    wine_program=/usr/lib/wine/wine64
    export WINEPREFIX="$work/prefix64" WINEARCH=win64
    timeout 180 xvfb-run -a "$wine_program" wineboot --init >"$work/wineboot64.log" 2>&1 || true
    if ! timeout 60 xvfb-run -a "$wine_program" "$run_dir/cvcoms-win32-tests.exe" --help \
        >"$work/help.log" 2>&1; then
        cat "$work/help.log" >&2
        fail "Wine cannot run a 64-bit Windows program on this machine either; the Win32 tests did not run"
    fi
}

if [ -n "$wine32_missing" ]; then
    use_64bit_windows "$wine32_missing"
else
    say "starting Wine in a new prefix"
    if ! timeout 180 xvfb-run -a wineboot --init >"$work/wineboot.log" 2>&1; then
        if ! grep -q "Exec format error" "$work/wineboot.log"; then
            cat "$work/wineboot.log" >&2
            fail "Wine cannot start on this machine (wineboot --init under xvfb-run failed); the Win32 tests did not run"
        fi
    fi
    if ! timeout 60 xvfb-run -a wine "$build/cvcoms-win32-tests.exe" --help >"$work/help.log" 2>&1; then
        if ! grep -q "Exec format error" "$work/help.log"; then
            cat "$work/help.log" >&2
            fail "Wine cannot run a 32-bit Windows program on this machine; the Win32 tests did not run"
        fi
        # The kernel runs no 32-bit programs (no 32-bit emulation).
        use_64bit_windows "this machine runs no 32-bit programs"
    fi
fi
cp -f "$native/bin/airdata.tri" "$native/bin/COAST2.int" "$run_dir/"
windows_path() { echo "Z:$(realpath "$1" | tr / '\\')"; }

# Runs one test program under xvfb-run wine and adds its "N passed, M failed".
# Each run ends by stopping its wineserver and waiting until it has gone, so
# that the next program does not reach a server of the prefix that is going
# down. A program that printed nothing at all, not even its first test's line,
# never ran: Wine did not start it. It is tried once more, saying so; a second
# silent end is a failure with its exit status.
run_suite() {  # run_suite NAME PROGRAM ARGUMENTS...
    local name="$1" program="$2"; shift 2
    local log="$work/$program.log" status attempt
    for attempt in 1 2; do
        say "running the $name under Wine"
        set +e
        timeout 600 xvfb-run -a bash -c \
            '"$1" "${@:2}"; status=$?; wineserver -k; wineserver -w; exit $status' \
            run "$wine_program" "$run_dir/$program" "$@" 2>&1 | tee "$log"
        status=${PIPESTATUS[0]}
        set -e
        [ -s "$log" ] || [ "$status" -eq 0 ] || [ "$attempt" -eq 2 ] || {
            say "the $name printed nothing and ended with status $status; Wine did not start them, trying once more"
            continue
        }
        break
    done
    local summary
    summary="$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$log" | tail -n 1 | tr -d '\r')" || true
    if [ -z "$summary" ]; then
        failed=$((failed + 1))
        echo "FAIL the $name ended (status $status) without their summary line"
        return
    fi
    local suite_passed suite_failed
    read -r suite_passed _ suite_failed _ <<<"$summary"
    passed=$((passed + suite_passed))
    failed=$((failed + suite_failed))
    if [ "$status" -ne 0 ] && [ "$suite_failed" -eq 0 ]; then
        failed=$((failed + 1))
        echo "FAIL the $name ended with status $status"
    fi
}

run_suite "link tests" cvcoms-win32-tests.exe --batches "$batches"
CORVANE_MESSAGE_BOXES=answer run_suite "host tests" corvane-host-win32-tests.exe \
    --scratch "$(windows_path "$work")"
run_suite "core tests" corvane-core-win32-tests.exe --data "$(windows_path "$run_dir")" \
    --scratch "$(windows_path "$work")"
run_suite "canvas tests" corvane-canvas-win32-tests.exe
run_suite "stand-in simulator tests" corvane-standin-win32-tests.exe
CORVANE_MESSAGE_BOXES=answer run_suite "program tests" corvane-program-win32-tests.exe \
    --scratch "$(windows_path "$work")"
[ "$run_dir" = "$build" ] || say "the tests ran on the build for 64-bit Windows (the 32-bit build was made and its DLL checked)"
say "took $((SECONDS - started)) s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
