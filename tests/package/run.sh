#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package from a build folder, checks it with lintian, unpacks
# it into a temporary root (dpkg -x) and runs the commands from there: the file
# list is the expected one, `corvane --help` and `corvane-navdata --version`
# answer, one harness flight lands, and the program started from the unpacked
# tree finds its data, its link library and the unpacked stand-in simulator.
# Usage: tests/package/run.sh [BUILD_DIR]   (default build/, as scripts/test.sh makes it)
set -euo pipefail
cd "$(dirname "$0")/../.."
dir="${1:-build}"
here=tests/package

# What packaging needs beyond the build.
packages=(dpkg-dev lintian help2man file desktop-file-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -q
  $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
fi

[ -f "$dir/CMakeCache.txt" ] || scripts/build.sh "$dir"
# Configure again so that the packaging finds help2man, then build what changed.
cmake "$dir" >/dev/null
cmake --build "$dir" -j 2
rm -f "$dir"/corvane_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/corvane_*_amd64.deb)
echo "package: $deb ($(du -h "$deb" | cut -f1))"

passes=0
failures=0
check() {  # check NAME COMMAND...: runs the command, counts a pass or a failure
  local name="$1"; shift
  if "$@"; then
    echo "ok: $name"; passes=$((passes + 1))
  else
    echo "FAILED: $name"; failures=$((failures + 1))
  fi
}

# lintian: no errors (warnings are shown).
lintian_out=$(lintian --no-tag-display-limit "$deb" 2>&1 || true)
[ -n "$lintian_out" ] && echo "$lintian_out"
check "lintian reports no errors" bash -c '! grep -q "^E:" <<<"$0"' "$lintian_out"

# Declared dependencies (dpkg-shlibdeps found the Qt and C++ libraries).
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
check "dependencies declared" bash -c 'grep -q "libqt6widgets6" <<<"$0" && grep -q "libc6" <<<"$0"' "$depends"

root=$(mktemp -d "${TMPDIR:-/tmp}/corvane-package-XXXXXX")
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT
dpkg -x "$deb" "$root/fs"

# The file list, without the folders, against the expected one; the harness's
# scenarios are those of tests/scenarios/.
(cd "$root/fs" && find . ! -type d | sed 's|^\./|/|' | sort) > "$root/all.txt"
grep -v '^/usr/share/corvane/scenarios/' "$root/all.txt" > "$root/files.txt" || true
check "file list as expected" diff -u "$here/files.txt" "$root/files.txt"
grep '^/usr/share/corvane/scenarios/' "$root/all.txt" | sed 's|.*/||' > "$root/scenarios.txt" || true
(cd tests/scenarios && ls -1 -- *.json | sort) > "$root/scenarios-expected.txt"
check "the scenarios are those of tests/scenarios" diff -u "$root/scenarios-expected.txt" "$root/scenarios.txt"

fs="$root/fs"
export CORVANE_REGISTRY="$root/registry.ini" CORVANE_DESKTOP="$root/desktop"
export XDG_RUNTIME_DIR="$root/runtime" QT_QPA_PLATFORM=offscreen
mkdir -p "$CORVANE_DESKTOP" "$XDG_RUNTIME_DIR"
# The desktop directory must be private to the user, as the program requires.
chmod 700 "$CORVANE_DESKTOP" "$XDG_RUNTIME_DIR"

check "corvane --help" bash -c '"$0"/usr/bin/corvane --help | grep -q "^Usage: corvane"' "$fs"
check "corvane-navdata --version" \
  bash -c '[ "$("$0"/usr/bin/corvane-navdata --version)" = "corvane-navdata 0.1.0" ]' "$fs"
check "manual pages open" bash -c 'zcat "$0"/usr/share/man/man1/corvane.1.gz | grep -q "^\.SH DESCRIPTION"' "$fs"
check "desktop entry valid" desktop-file-validate "$fs/usr/share/applications/corvane.desktop"

# One flight of the harness: the data found under the unpacked /usr/share/corvane.
scenario="$fs/usr/share/corvane/scenarios/kmia-27-final-5nm.json"
check "one harness flight lands without a crash" \
  "$fs/usr/bin/corvane-harness" --no-draw --quiet --reports "$root/reports" \
  --min-pass noCrash=1 "$scenario"
check "the flight's report written" test -s "$root/reports/kmia-27-final-5nm.json"

# The program from the unpacked tree starts the unpacked stand-in simulator
# (registered as an installed one would be), connects through its link library
# and saves a screenshot once start-up has finished.
"$fs/usr/bin/corvane-registry" set 'HKEY_LOCAL_MACHINE\Software\CLASSES\flight simulator' \
  defaulticon "$fs/usr/lib/corvane/fs98/fltsim98.exe,1" >/dev/null
timeout 40 "$fs/usr/bin/corvane" --screenshot "$root/shot.png" >"$root/corvane.log" 2>&1 &
program=$!
for _ in $(seq 1 40); do
  [ -s "$root/shot.png" ] && break
  sleep 1
done
sim_pid=$(grep -ls 'FS98MAIN' "$CORVANE_DESKTOP"/* 2>/dev/null | head -1 | xargs -r sed -n 's/^pid=//p' | head -1 || true)
[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
wait "$program" || true
cat "$root/corvane.log"
check "the unpacked program starts the unpacked simulator and flies" test -s "$root/shot.png"

echo "package: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
