#!/usr/bin/env bash
# Runs README's test command as on a fresh Debian machine of the given release:
# a minimal tree made with mmdebstrap, a clean clone of this checkout's
# committed HEAD in it, and scripts/test-all.sh run inside with chroot, so that
# it installs everything it needs itself. Prints the result and the time it
# all took; the exit status is the test command's. Whatever it made, it
# unmounts and removes, however it ends.
#
#   scripts/test-in-debian.sh 12|13
#
# The tree is made from the release and its updates, as an installer puts a
# new system down, and then lists the security archive too, as every
# installed system does. Needs root, and about 6 GB under /var/tmp. The
# parts' logs are kept in build/test-in-debian-12 or -13.
set -u
case "${1:-}" in
12) suite=bookworm ;;
13) suite=trixie ;;
*)
  echo "usage: $0 12|13" >&2
  exit 2
  ;;
esac
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

work=$(mktemp -d /var/tmp/glimra-debian-"$1".XXXXXX)
root=$work/root
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
  # Never remove through a mount that is still there: /dev is the host's own.
  if grep -qF " $root/" /proc/self/mounts; then
    echo "test-in-debian: $root still has mounts; left in place" >&2
  else
    rm -rf --one-file-system "$work"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "== Debian $1 ($suite): a fresh tree in $root"
mmdebstrap --quiet --variant=apt "$suite" "$root" "deb http://deb.debian.org/debian $suite main" \
  "deb http://deb.debian.org/debian $suite-updates main" || exit 1
echo "deb http://deb.debian.org/debian-security $suite-security main" \
  >"$root/etc/apt/sources.list.d/security.list"
git clone --quiet --no-hardlinks . "$root/root/glimra" &&
  git -C "$root/root/glimra" checkout --quiet --detach "$(git rev-parse HEAD)" || exit 1
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
  bash -c 'cd /root/glimra && scripts/test-all.sh' &
# Waited for, not run in the foreground, so that a signal ends it at once:
# the clean-up ends whatever still runs in the tree.
wait $!
status=$?
# The parts' logs outlive the tree, to read what each check saw.
logs=build/test-in-debian-$1
rm -rf "$logs" && mkdir -p build && cp -r "$root/root/glimra/build/test-logs" "$logs" 2>/dev/null &&
  echo "== the parts' logs are in $logs"
if [ "$status" -eq 0 ]; then
  echo "== Debian $1 ($suite): scripts/test-all.sh passed; all took $(took)"
else
  echo "== Debian $1 ($suite): scripts/test-all.sh FAILED (exit $status); all took $(took)"
fi
exit "$status"
