#!/usr/bin/env bash
# Installs what is missing, builds the viewer and starts it in run/, where it
# keeps its last-directory file; the first file dialog opens in samples/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target lumeto
mkdir -p run/files/lumeto
last=run/files/lumeto/last_directory.bin
[ -e "$last" ] || printf '%s/samples/' "$PWD" | iconv -f UTF-8 -t WINDOWS-1251 > "$last"
cd run
exec ../build/lumeto
