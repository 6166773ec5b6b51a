#!/usr/bin/env bash
# Installs what is missing, builds the viewer and starts it in run/, where it
# keeps its last-directory file; the first file dialog opens in samples/.
# Arguments go to the viewer: recordings to open (bash tools/run.sh
# samples/fault-1khz.cfg), --help, --version, Qt's own options (-style fusion).
set -euo pipefail
# Recordings named by relative paths are taken from where the script was
# called, since the viewer itself runs in run/; other arguments (an option's
# value such as "fusion") stay as they are.
shopt -s nocasematch
arguments=()
for argument in "$@"; do
  if [[ "$argument" != /* && ( -e "$argument" || "$argument" == *.cfg || "$argument" == *.cff ) ]]; then
    arguments+=("$PWD/$argument")
  else
    arguments+=("$argument")
  fi
done
shopt -u nocasematch
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target lumeto
mkdir -p run/files/lumeto
last=run/files/lumeto/last_directory.bin
[ -e "$last" ] || printf '%s/samples/' "$PWD" | iconv -f UTF-8 -t WINDOWS-1251 > "$last"
cd run
exec ../build/lumeto "${arguments[@]}"
