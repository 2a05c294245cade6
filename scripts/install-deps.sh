#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, if missing.
# Never installs wine32: this kernel cannot run 32-bit programs, and with it
# /usr/bin/wine stops working.
set -eu
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format clang-tidy
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
  wine wine64 fonts-wine fonts-liberation libxrender1 libxext6 xvfb
  imagemagick zip unzip
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
fi
