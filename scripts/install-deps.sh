#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, if missing, and
# makes x86 Windows programs runnable under Wine: wine32 for the 32-bit Wine
# itself, and, where this kernel cannot run 32-bit Linux programs by itself,
# Debian's user-mode emulator registered for them. Works on Debian 12 and 13.
# Safe to run again.
#
# A package registry that stumbles (a list that fails to download while the
# mirror syncs) is retried, then worked around with the lists at hand; when
# that cannot resolve, the last line says which list is missing and what to
# do (or that packages could not be downloaded). Packages are downloaded in
# full before any is unpacked, so a failure leaves nothing half-installed.
set -eu

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
as_root() { "${sudo_cmd[@]}" "$@"; }
apt_get() { as_root env DEBIAN_FRONTEND=noninteractive apt-get -q "$@"; }

packages=(
  cmake ninja-build g++ clang libclang-rt-dev clang-format clang-tidy
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
  wine wine64 wine32:i386 wine32-preloader:i386 qemu-user-static
  fonts-wine fonts-liberation fonts-vlgothic libxrender1 libxext6 xvfb openbox
  imagemagick zip unzip locales git strace
)
# The Unix locales that give Wine the Windows code pages the tests use:
# 1252 (Western), 1251 (Cyrillic) and 932 (Japanese).
locales_needed=(en_US.UTF-8 ru_RU.UTF-8 ja_JP.UTF-8)

log=$(mktemp)
update_log=$(mktemp)
trap 'rm -f "$log" "$update_log"' EXIT

# Did every failure of the last update answer 404 for a suite's Release file,
# a suite that is not there at all, which no waiting brings? (A list that 404s
# may be one that a syncing mirror has not got yet.)
only_missing_suites() {
  awk '/^Err:/ { errors++; release = / Release$/; getline; if (release && / 404 /) gone++ }
       END { exit !(errors && errors == gone) }' "$update_log"
}

# Retries a failed update a few times, then goes on with the lists it has.
update_package_lists() {
  local attempt
  for attempt in 1 2 3; do
    if apt_get update >"$update_log" 2>&1; then
      return
    fi
    grep -E '^(E|Err):' "$update_log" | head -n 4
    only_missing_suites && break
    [ "$attempt" -lt 3 ] && echo "install-deps: apt-get update failed; trying again in 20 s" && sleep 20
  done
  echo "install-deps: going on with the package lists that did download"
}

# Each site's suite/component that gives apt no i386 package list, after why:
# "failed" when the last update could not download it (apt then drops that
# suite's other new lists too, amd64 included), "absent" when the sources ask
# for amd64 alone there (as [arch=amd64] does). 32-bit Wine needs the i386
# twin of every library at the very version installed here.
lists_lacking_i386() {
  sed -n 's/^Err:[0-9]* \(.*\) i386 Packages$/failed \1/p' "$update_log"
  apt-get indextargets --format '$(SITE) $(RELEASE)/$(COMPONENT) $(ARCHITECTURE)' \
    'Identifier: Packages' 2>/dev/null |
    awk '{ arch[$1 " " $2] = arch[$1 " " $2] " " $3 }
         END { for (k in arch) if (arch[k] ~ / amd64/ && arch[k] !~ / i386/) print "absent " k }'
}

explain_and_stop() {
  local lacking why list
  lacking=$(lists_lacking_i386 | awk '!seen[$2 " " $3]++')
  echo "install-deps: nothing was installed." >&2
  if grep -q '^E: Failed to fetch' "$log"; then
    echo "install-deps: some packages could not be downloaded (see above): try again later." >&2
  elif [ -n "$lacking" ]; then
    while read -r why list; do
      case $why in
      failed) echo "install-deps: the i386 package list of $list could not be downloaded;" \
        "32-bit Wine (wine32:i386) needs the i386 twins of the libraries installed here" \
        "from it: try again when the mirror has synced." >&2 ;;
      absent) echo "install-deps: your sources give no i386 package list for $list;" \
        "32-bit Wine (wine32:i386) needs the i386 twins of the libraries installed here" \
        "from it: allow i386 for that source (or drop its [arch=amd64]) and run again." >&2 ;;
      esac
    done <<<"$lacking"
  else
    echo "install-deps: apt could not install the packages; see its message above." >&2
  fi
  # Leave no foreign architecture behind that this script added for nothing.
  if [ "$added_i386" = yes ] && ! dpkg-query -W -f='${Architecture}\n' 2>/dev/null | grep -qx i386; then
    as_root dpkg --remove-architecture i386
  fi
  exit 1
}

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
added_i386=no
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    added_i386=yes
  fi
  update_package_lists
  # Download everything first: a registry failure then installs nothing.
  if apt_get install -y --download-only "${missing[@]}" >"$log" 2>&1; then
    release_option=()
  else
    tail -n 3 "$log"
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -n "$codename" ] || explain_and_stop
    echo "install-deps: trying again with the packages of $codename itself: security" \
      "updates are not used for these packages"
    release_option=(-t "$codename")
    apt_get install -y --download-only "${release_option[@]}" "${missing[@]}" >"$log" 2>&1 || {
      tail -n 3 "$log"
      explain_and_stop
    }
  fi
  apt_get install -y "${release_option[@]}" "${missing[@]}"
fi

missing_locales=()
for locale in "${locales_needed[@]}"; do
  locale -a 2>/dev/null | grep -qix "${locale/UTF-8/utf8}" || missing_locales+=("$locale")
done
for locale in "${missing_locales[@]}"; do
  echo "Making the locale $locale"
  as_root localedef -i "${locale%%.*}" -c -f UTF-8 "$locale"
done

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
