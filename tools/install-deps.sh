#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing;
# qttranslations5-l10n gives Qt's own dialogs their Russian texts; libuchardet-dev
# recognises the text encoding of configurations.
# Extra package names may be given as arguments.
set -euo pipefail

packages=(cmake g++ make pkg-config qtbase5-dev libqcustomplot-dev libuchardet-dev fonts-dejavu-core poppler-utils qttranslations5-l10n "$@")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
