#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Kelmar needs.
# Idempotent: packages already installed are skipped, and nothing is fetched when all are there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libgeographiclib-dev
  clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev qt6-translations-l10n fonts-dejavu-core fonts-dejavu-extra
  xvfb xauth x11-utils xdotool imagemagick
  libreoffice-calc libreoffice-dev python3 python3-xlrd
  file lintian desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#packages[@]} packages already installed"
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
