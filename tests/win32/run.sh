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
fs98ipc-testserver.exe and cvcoms-win32-tests.exe with mingw-w64, checks the
DLL's exports and imports, and runs the link tests under xvfb-run wine in a
throwaway Wine prefix. Ends with "N passed, M failed"; the exit status is
non-zero when anything failed or Wine could not start.

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
packages=()
command -v cmake >/dev/null || packages+=(cmake)
command -v ninja >/dev/null || packages+=(ninja-build)
command -v i686-w64-mingw32-g++ >/dev/null || packages+=(g++-mingw-w64-i686)
command -v wine >/dev/null || packages+=(wine)
[ -x /usr/lib/wine/wine ] || packages+=(wine32:i386)
command -v xvfb-run >/dev/null || packages+=(xvfb)
command -v xauth >/dev/null || packages+=(xauth)
if [ ${#packages[@]} -gt 0 ]; then
    say "installing ${packages[*]}"
    sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || fail "need root (or sudo) to install ${packages[*]}"
        sudo=(sudo)
    fi
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo[@]}" dpkg --add-architecture i386
    fi
    "${sudo[@]}" apt-get update -qq || fail "apt-get update failed"
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${packages[@]}" >/dev/null || fail "apt-get install ${packages[*]} failed"
fi
[ -x /usr/lib/wine/wine ] || fail "the 32-bit Wine loader /usr/lib/wine/wine is missing (package wine32:i386)"

# --- Build ---------------------------------------------------------------------
say "building in $build"
mkdir -p "$build"
cmake -S tests/win32 -B "$build" -G Ninja --toolchain "$PWD/cmake/mingw-w64-i686.cmake" \
    >"$build/configure.log" 2>&1 || { cat "$build/configure.log" >&2; fail "configuring failed"; }
cmake --build "$build" -j 2 || fail "the build failed"

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
    rm -rf "$work"
}
trap cleanup EXIT

say "starting Wine in a new prefix"
if ! timeout 180 xvfb-run -a wineboot --init >"$work/wineboot.log" 2>&1; then
    cat "$work/wineboot.log" >&2
    fail "Wine cannot start on this machine (wineboot --init under xvfb-run failed); the Win32 link tests did not run"
fi
if ! timeout 60 xvfb-run -a wine "$build/cvcoms-win32-tests.exe" --help >"$work/help.log" 2>&1; then
    cat "$work/help.log" >&2
    fail "Wine cannot run a 32-bit Windows program on this machine; the Win32 link tests did not run"
fi

say "running the link tests under Wine"
set +e
timeout 600 xvfb-run -a bash -c \
    'wine "$1" --batches "$2"; status=$?; wineserver -k; exit $status' \
    run "$build/cvcoms-win32-tests.exe" "$batches" 2>&1 | tee "$work/tests.log"
status=${PIPESTATUS[0]}
set -e
summary="$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$work/tests.log" | tail -n 1 | tr -d '\r')"
if [ -z "$summary" ]; then
    fail "the Win32 link tests ended (status $status) without their summary line"
fi
read -r client_passed _ client_failed _ <<<"$summary"
passed=$((passed + client_passed))
failed=$((failed + client_failed))
if [ "$status" -ne 0 ] && [ "$client_failed" -eq 0 ]; then
    failed=$((failed + 1))
    echo "FAIL the test client ended with status $status"
fi
say "took $((SECONDS - started)) s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
