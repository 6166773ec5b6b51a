#!/usr/bin/env bash
# Builds the Debian package and checks it: lintian finds no error, the desktop
# entry and the AppStream file are valid, the unpacked viewer answers --version,
# and the launcher of the desktop entry keeps the home folder clean.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh lintian desktop-file-utils appstream

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
rm -f build/lumeto_*.deb
cmake --build build -j"$(nproc)" --target package
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
deb=build/lumeto_${version}_amd64.deb
[ -f "$deb" ] || { echo "no package $deb" >&2; exit 1; }

lintian --fail-on error "$deb"

scratch=$(cd "$(mktemp -d)" && pwd -P)
viewer_pid=
finish() {
  [ -z "$viewer_pid" ] || kill "$viewer_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap finish EXIT

root=$scratch/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
"$root/usr/bin/lumeto" --version | grep -qx "lumeto $version"

launcher=$root/usr/libexec/lumeto/lumeto-launcher
home=$scratch/home
recordings=$scratch/recordings
mkdir -p "$home" "$recordings"
cp samples/fault-1khz.cfg samples/fault-1khz.dat "$recordings/"

fail() { echo "launcher: $*" >&2; exit 1; }

# Starts the launcher in a folder with recording arguments, on the offscreen
# platform and with HOME pointing to the scratch home; sets viewer_pid.
start_viewer() {
  local folder=$1
  shift
  (cd "$folder" && exec env -u XDG_STATE_HOME HOME="$home" QT_QPA_PLATFORM=offscreen "$launcher" "$@") \
    >/dev/null 2>&1 &
  viewer_pid=$!
}

# The viewer creates files/lumeto under its working folder once its window exists.
wait_for_viewer_in() {
  local folder=$1
  for _ in $(seq 100); do
    [ -d "$folder/files/lumeto" ] && return 0
    kill -0 "$viewer_pid" 2>/dev/null || fail "the viewer ended early"
    sleep 0.2
  done
  fail "the viewer did not start in $folder"
}

stop_viewer() {
  kill "$viewer_pid"
  wait "$viewer_pid" 2>/dev/null || true
  viewer_pid=
}

# A menu or file-manager start: the home folder is the working folder.
start_viewer "$home" ../recordings/fault-1khz.cfg
state=$home/.local/state/lumeto
wait_for_viewer_in "$state"
[ "$(readlink "/proc/$viewer_pid/cwd")" = "$state" ] || fail "the viewer does not run in $state"
tr '\0' '\n' < "/proc/$viewer_pid/cmdline" | grep -qx "$home/../recordings/fault-1khz.cfg" \
  || fail "the recording was not passed with an absolute path"
stop_viewer

# A terminal start elsewhere keeps that folder.
start_viewer "$recordings" fault-1khz.cfg
wait_for_viewer_in "$recordings"
[ "$(readlink "/proc/$viewer_pid/cwd")" = "$recordings" ] || fail "the viewer left $recordings"
stop_viewer

stray=$(cd "$home" && find . -mindepth 1 \
  ! -path ./.local ! -path ./.local/state ! -path ./.local/state/lumeto ! -path './.local/state/lumeto/*')
[ -z "$stray" ] || fail "the home folder got $stray"
echo "package checks passed: $deb"
