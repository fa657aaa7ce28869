#!/usr/bin/env bash
# Tries README's two commands as a new user on a fresh Debian 12 would, in a minimal bookworm
# chroot made once in DIR (from the archive the machine's apt uses) and reused with its packages
# and compiler cache: a chroot, like an unprivileged container, has no user namespaces, systemd,
# D-Bus system bus or /run/user. Usage (as root): scripts/fresh_chroot.sh DIR
set -euo pipefail
[ $# -eq 1 ] && [ -n "$1" ] || { echo "usage: $0 DIR" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "fresh_chroot: debootstrap, chroot and mount need root" >&2; exit 1; }
top=$(cd "$(dirname "$0")/.." && pwd -P)
mkdir -p "$1"
dir=$(cd "$1" && pwd -P)
case "$dir/" in
  "$top"/*)
    echo "fresh_chroot: $dir is inside the source tree; choose a folder outside it" >&2
    exit 1
    ;;
esac

if ! command -v debootstrap >/dev/null; then
  echo "fresh_chroot: installing debootstrap"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap \
    >/dev/null
fi

# The marker is written only once debootstrap has finished.
if [ ! -e "$dir/.orvane-bootstrapped" ]; then
  mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Created-By: Packages' |
    awk '$2 == "bookworm" { print $1; exit }')
  if [ -z "$mirror" ]; then
    echo "fresh_chroot: no apt source of this machine serves bookworm; run apt-get update" >&2
    exit 1
  fi
  echo "fresh_chroot: debootstrap --variant=minbase bookworm $dir $mirror"
  debootstrap --variant=minbase bookworm "$dir" "$mirror" >"$dir.debootstrap.log" 2>&1 || {
    echo "fresh_chroot: debootstrap failed; see $dir.debootstrap.log" >&2
    exit 1
  }
  # As in a container image: packages installed inside start no services.
  printf '#!/bin/sh\nexit 101\n' >"$dir/usr/sbin/policy-rc.d"
  chmod 755 "$dir/usr/sbin/policy-rc.d"
  touch "$dir/.orvane-bootstrapped"
fi
cp /etc/resolv.conf "$dir/etc/resolv.conf"

mounted=()
cleanup() {
  # Whatever the run left behind inside (a server a failed test did not end) holds the
  # mounts: end the processes whose root is this chroot, each by its id.
  local pid i
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$dir" ] && kill -9 "$pid" 2>/dev/null
  done
  sleep 1
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" || umount --lazy "${mounted[i]}" || true
  done
}
trap cleanup EXIT
mount_in() { # TARGET MOUNT-ARGS...
  local target="$dir$1"
  mkdir -p "$target" && mount "${@:2}" "$target" && mounted+=("$target")
}
mount_in /proc -t proc proc
mount_in /sys -t sysfs sysfs
mount_in /dev --bind /dev
mount_in /dev/pts --bind /dev/pts
# Shared memory as every container has it: the compositors' buffers are made there.
mount_in /dev/shm -t tmpfs -o mode=1777 tmpfs

# The tree as a source tarball holds it: the committed files from a clone, else the files
# scripts/sources.sh lists.
tree=/root/orvane
rm -rf "${dir:?}$tree"
mkdir -p "$dir$tree"
if git -C "$top" rev-parse --show-toplevel 2>/dev/null | grep -qxF "$top"; then
  git -C "$top" archive --format=tar HEAD | tar -C "$dir$tree" -xf -
  echo "fresh_chroot: the tree is $(git -C "$top" rev-parse --short HEAD) (git archive)"
else
  "$top/scripts/sources.sh" | tar -C "$top" --null -T - -cf - | tar -C "$dir$tree" -xpf -
fi

# A root login's environment, nothing of this shell's.
in_chroot() {
  chroot "$dir" /usr/bin/env -i HOME=/root TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c "cd $tree && $1" </dev/null
}
summary=()
status=0
for command in ./scripts/run.sh ./scripts/test.sh; do
  echo "fresh_chroot: $command"
  start=$(date +%s)
  code=0
  in_chroot "$command" || code=$?
  seconds=$(($(date +%s) - start))
  if [ "$code" -eq 0 ]; then
    summary+=("$command passed in ${seconds} s")
  else
    summary+=("$command FAILED (exit code $code) after ${seconds} s")
    status=1
    break
  fi
done
printf 'fresh_chroot: %s\n' "${summary[@]}"
exit "$status"
