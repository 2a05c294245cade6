#!/usr/bin/env bash
# Runs README's test command as on a fresh Debian machine of the given release:
# a minimal tree made with mmdebstrap, a clean clone of this checkout's
# committed HEAD in it, and scripts/test-all.sh run inside with chroot, so that
# it installs everything it needs itself. Prints the result and the time it
# all took; the exit status is the test command's. Whatever it mounted or
# started, it unmounts and ends, however it ends.
#
#   scripts/test-in-debian.sh [--fresh] 12|13 [COMMAND [ARGUMENTS...]]
#
# Given a command of the project's instead (scripts/benchmark.sh, say), it
# runs that one there in place of the test command.
#
# The tree is made from the release and its updates, as an installer puts a
# new system down, and then lists the security archive too, as every
# installed system does. It is kept in /var/tmp/glimra-debian-12 or -13, with
# the packages the test command installed and the Wine prefix it booted
# (where x86 runs on qemu-i386, Debian 13's took 16 to 35 minutes), so that
# the next run only clones, builds and tests; --fresh makes the tree anew, as
# a new machine has it. Needs root, and about 6 GB under /var/tmp. The parts'
# logs are kept in build/test-in-debian-12 or -13.
set -u
fresh=false
[ "${1:-}" = --fresh ] && fresh=true && shift
case "${1:-}" in
12) suite=bookworm ;;
13) suite=trixie ;;
*)
  echo "usage: $0 [--fresh] 12|13 [COMMAND [ARGUMENTS...]]" >&2
  exit 2
  ;;
esac
release=$1
shift
command=("${@:-scripts/test-all.sh}")
[ "$(id -u)" -eq 0 ] || { echo "test-in-debian: run as root: it mounts and uses chroot" >&2; exit 2; }
cd "$(dirname "$0")/.."
started=$(date +%s)
took() {
  local elapsed=$(($(date +%s) - started))
  echo "$((elapsed / 60)) min $((elapsed % 60)) s"
}

if ! command -v mmdebstrap >/dev/null; then
  apt_install() { DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=600 install -y "$@"; }
  apt-get -q -o DPkg::Lock::Timeout=600 update
  # A security list that fails to download (a mirror syncing) can hold up the
  # install; the release's own suite has mmdebstrap too.
  apt_install mmdebstrap || apt_install -t "$(. /etc/os-release && echo "$VERSION_CODENAME")" mmdebstrap ||
    exit 1
fi

work=/var/tmp/glimra-debian-$release
root=$work/root
clone=$root/root/glimra
cleanup() {
  # A second Ctrl+C must not cut the clean-up short and leave the mounts.
  trap '' INT TERM
  # What the tests left running inside would keep the mounts busy.
  local link pid
  for link in /proc/[0-9]*/root; do
    [ "$(readlink "$link" 2>/dev/null)" = "$root" ] || continue
    pid=${link#/proc/}
    kill -KILL "${pid%/root}" 2>/dev/null
  done
  sleep 1
  # The deepest first: sorted, a mount comes after the one it is in.
  grep -oE " $root/[^ ]+" /proc/self/mounts | sort -r | while read -r mount; do
    umount "$mount" || umount -l "$mount"
  done
  grep -qF " $root/" /proc/self/mounts && echo "test-in-debian: $root still has mounts" >&2
}
# Never removes through a mount that is still there: /dev is the host's own.
remove_tree() {
  if grep -qF " $root/" /proc/self/mounts; then
    echo "test-in-debian: $root has mounts; not removed" >&2
    exit 1
  fi
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A tree whose making did not end is made anew.
if $fresh || [ ! -f "$work/made" ]; then
  remove_tree
  echo "== Debian $release ($suite): a fresh tree in $root"
  mkdir -p "$work"
  mmdebstrap --quiet --variant=apt "$suite" "$root" "deb http://deb.debian.org/debian $suite main" \
    "deb http://deb.debian.org/debian $suite-updates main" || exit 1
  echo "deb http://deb.debian.org/debian-security $suite-security main" \
    >"$root/etc/apt/sources.list.d/security.list"
  touch "$work/made"
else
  echo "== Debian $release ($suite): the tree of an earlier run in $root (--fresh makes it anew)"
fi
# The clone is new each run; the Wine prefix that an earlier run booted for
# this tree's Wine moves into it (the runner boots it again for another Wine).
booted=$work/wineprefix-template
rm -rf "$booted" "$booted.version"
if [ -f "$clone/build/wineprefix-template.version" ]; then
  mv "$clone/build/wineprefix-template" "$booted" &&
    mv "$clone/build/wineprefix-template.version" "$booted.version"
fi
rm -rf "$clone"
git clone --quiet --no-hardlinks . "$clone" &&
  git -C "$clone" checkout --quiet --detach "$(git rev-parse HEAD)" || exit 1
if [ -f "$booted.version" ]; then
  mkdir -p "$clone/build" && mv "$booted" "$booted.version" "$clone/build/"
fi
echo "== $(git log -1 --format='%h %s' HEAD)"

# Wine needs /proc, /dev/shm and the pseudo-terminals; Xvfb its sockets in a
# /tmp of its own. binfmt_misc shows the tests whether x86 runs on qemu-i386.
mount -t proc proc "$root/proc" &&
  mount -t sysfs sysfs "$root/sys" &&
  mount --bind /dev "$root/dev" &&
  mount --bind /dev/pts "$root/dev/pts" &&
  mount -t tmpfs shm "$root/dev/shm" &&
  mount -t tmpfs tmp "$root/tmp" || exit 1
if [ -e /proc/sys/fs/binfmt_misc/status ]; then
  mount -t binfmt_misc binfmt_misc "$root/proc/sys/fs/binfmt_misc" || exit 1
fi

# A clean environment, as a user who just logged in: no DISPLAY, so the tests
# start their own virtual screens.
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  bash -c "cd /root/glimra && $(printf '%q ' "${command[@]}")" &
# Waited for, not run in the foreground, so that a signal ends it at once:
# the clean-up ends whatever still runs in the tree.
wait $!
status=$?
# The parts' logs outlive the tree, to read what each check saw.
logs=build/test-in-debian-$release
rm -rf "$logs" && mkdir -p build && cp -r "$clone/build/test-logs" "$logs" 2>/dev/null &&
  echo "== the parts' logs are in $logs"
if [ "$status" -eq 0 ]; then
  echo "== Debian $release ($suite): ${command[*]} passed; all took $(took)"
else
  echo "== Debian $release ($suite): ${command[*]} FAILED (exit $status); all took $(took)"
fi
exit "$status"
