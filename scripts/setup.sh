#!/usr/bin/env bash
# Installs what Brimlow needs to build and test on Debian. Safe to re-run:
# when every package is already present it changes nothing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libpng-dev zlib1g-dev libtinyxml-dev
  libfontconfig-dev libfreetype-dev fonts-dejavu-core
  libx11-dev libxext-dev libxtst-dev xvfb xauth
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  locales-all
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}" >&2
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
