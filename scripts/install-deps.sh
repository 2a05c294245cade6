#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, if missing, and
# makes x86 Windows programs runnable under Wine: wine32 for the 32-bit Wine
# itself, and, where this kernel cannot run 32-bit Linux programs by itself,
# Debian's user-mode emulator registered for them. Safe to run again.
set -eu


sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
as_root() { "${sudo_cmd[@]}" "$@"; }

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format clang-tidy
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
  wine wine64 wine32:i386 wine32-preloader:i386 qemu-user-static
  fonts-wine fonts-liberation libxrender1 libxext6 xvfb
  imagemagick zip unzip
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
  as_root apt-get update -q
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -q "${missing[@]}"
fi

# Does a small 32-bit x86 Linux program run? The Wine loader is one, and a
# kernel without 32-bit support refuses it ("Exec format error").
runs_x86_linux() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

if ! runs_x86_linux; then
  binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || as_root mount -t binfmt_misc binfmt_misc "$binfmt"
  if [ ! -e "$binfmt/qemu-i386" ]; then
    echo "Registering qemu-i386-static for 32-bit x86 Linux programs"
    # Matches 32-bit little-endian x86 ELF executables; F keeps the emulator
    # open so that it also serves programs started inside other file systems.
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" |
      as_root tee "$binfmt/register" >/dev/null
  fi
  runs_x86_linux || {
    echo "install-deps: 32-bit x86 programs still do not run; x86 Windows programs cannot be tested" >&2
    exit 1
  }
fi
