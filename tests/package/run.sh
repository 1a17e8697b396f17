#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package from a build folder, checks it with lintian, unpacks
# it into a temporary root (dpkg -x) and runs the commands from there: the file
# list is the expected one, `corvane --help` and `corvane-navdata --version`
# answer, one harness flight lands, and the program started from the unpacked
# tree finds its data, its link library and the unpacked stand-in simulator.
# corvane --flightgear is run from the unpacked tree against the fake
# FlightGear of the build (tests/flightgear/fake-fgfs) over a FlightGear data
# folder the test makes, started and attached to.
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
fg_pids=()
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  local p
  for p in "${fg_pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
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
check "FlightGear's desktop entry valid" \
  desktop-file-validate "$fs/usr/share/applications/corvane-flightgear.desktop"

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

# Corvane with FlightGear from the unpacked tree, against the fake FlightGear:
# a FlightGear data folder with the world's airports and navaids and the
# terrain of Honolulu 08L's tile only (w160n20/w158n21/367568), a home of the
# test's own for the data built on first use.
fake="$dir/tests/flightgear/fake-fgfs"
fgroot="$root/fgdata"
mkdir -p "$fgroot/Aircraft" "$fgroot/Airports" "$fgroot/Navaids" \
  "$fgroot/Scenery/Terrain/w160n20/w158n21" "$root/home"
cp data/flightgear/apt.dat.gz "$fgroot/Airports/"
cp data/flightgear/nav.dat.gz "$fgroot/Navaids/"
echo "OBJECT_BASE 367568.btg" >"$fgroot/Scenery/Terrain/w160n20/w158n21/367568.stg"
fgenv=(env HOME="$root/home" XDG_DATA_HOME= XDG_CACHE_HOME= FG_ROOT="$fgroot" FG_SCENERY=
       FAKE_FGFS_LIFETIME=60)
"${fgenv[@]}" timeout 90 "$fs/usr/bin/corvane" --flightgear --fgfs "$fake" \
  --screenshot "$root/fg-shot.png" >"$root/fg.log" 2>&1 &
fg_pids+=($!)
for _ in $(seq 1 60); do
  [ -s "$root/fg-shot.png" ] && break
  sleep 1
done
kill "${fg_pids[-1]}" 2>/dev/null || true
wait "${fg_pids[-1]}" 2>/dev/null || true
grep -v '^kB of' "$root/fg.log"
fgdb="$root/home/.local/share/corvane/flightgear-navdata/airdata.tri"
check "corvane --flightgear builds the data from FlightGear's airports on its terrain" \
  bash -c 'test -s "$0" && grep -q "dropped [0-9]*: no terrain installed" "$1"' "$fgdb" "$root/fg.log"
check "corvane --flightgear starts FlightGear and the stand-in, then the map" \
  bash -c 'grep -q "FlightGear.s flight model runs" "$0" && test -s "$1"' "$root/fg.log" \
  "$root/fg-shot.png"
sleep 1
# Processes still running the unpacked stand-in or the fake, by their program.
sim_exe=$(readlink -f "$fs/usr/lib/corvane/fs98/fltsim98.exe")
fake_exe=$(readlink -f "$fake")
left=""
for p in /proc/[0-9]*; do
  exe=$(readlink "$p/exe" 2>/dev/null) || continue
  case "$exe" in "$sim_exe"|"$fake_exe") left+=" ${p#/proc/}" ;; esac
done
check "corvane-flightgear leaves no stand-in and no FlightGear behind" test -z "$left"

# Attached: the options corvane-flightgear --attach prints (from
# corvane-fltsim98 --fg-options) start the fake FlightGear, named fgfs as the
# stand-in requires of a FlightGear it attaches to.
mkdir -p "$root/bin"
ln -s "$(readlink -f "$fake")" "$root/bin/fgfs"
readings=$((20000 + RANDOM % 20000))
ports="$readings:$((readings + 1))"
"${fgenv[@]}" timeout 90 "$fs/usr/bin/corvane-flightgear" --attach="$ports" \
  --screenshot "$root/attach-shot.png" >"$root/attach.log" 2>&1 &
fg_pids+=($!)
launcher=${fg_pids[-1]}
for _ in $(seq 1 30); do
  grep -q "waiting up to 10 minutes" "$root/attach.log" && break
  sleep 1
done
mapfile -t options < <(grep '^--' "$root/attach.log")
"${fgenv[@]}" "$root/bin/fgfs" "${options[@]}" >"$root/attach-fgfs.log" 2>&1 &
fg_pids+=($!)
for _ in $(seq 1 60); do
  [ -s "$root/attach-shot.png" ] && break
  sleep 1
done
kill "$launcher" "${fg_pids[-1]}" 2>/dev/null || true
wait "$launcher" 2>/dev/null || true
grep -v '^kB of' "$root/attach.log"
check "the printed options name the protocol file written outside FlightGear's data" \
  bash -c 'grep -qx -- "--data=$0/.local/share/corvane/flightgear" "$1" &&
           test -s "$0/.local/share/corvane/flightgear/Protocol/corvane.xml"' "$root/home" "$root/attach.log"
check "the options make FlightGear speak to the stand-in, which attaches, then the map" \
  bash -c 'grep -q "FlightGear.s flight model runs" "$0" && test -s "$1"' "$root/attach.log" \
  "$root/attach-shot.png"

echo "package: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
