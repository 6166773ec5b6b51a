#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing;
# qttranslations5-l10n gives Qt's own dialogs their Russian texts; libuchardet-dev
# recognises the text encoding of configurations; help2man makes the manual
# page, libqt5svg5-dev lets tools/resourceimages write the scalable icon,
# dpkg-dev and file let CPack find the package's dependencies.
# Extra package names may be given as arguments.
set -euo pipefail

packages=(cmake g++ make pkg-config qtbase5-dev libqt5svg5-dev libqcustomplot-dev libuchardet-dev fonts-dejavu-core
          poppler-utils qttranslations5-l10n help2man dpkg-dev file "$@")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo > /dev/null; then
  as_root=(sudo)
else
  echo "install-deps: these Debian packages are missing: ${missing[*]}" >&2
  echo "install-deps: run this script as root or with sudo installed, or install them yourself" >&2
  exit 1
fi
echo "install-deps: installing ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
