#!/usr/bin/env bash
# Proves that the README's two commands work on a fresh Debian 12 system: builds a minimal root file
# system with debootstrap (Debian's registry, with this machine's mirror and apt settings), clones
# this repository's committed state into it and runs both commands there under chroot, printing each
# one's exit status and time. Everything mounted is unmounted at the end, also when interrupted.
# Slow (tens of minutes), so CI does not run it; run it before changing an install step or a script.
# Usage: scripts/fresh-system-check.sh [--keep] [--reuse] [DIR]
#   --keep   leave the root file system in DIR afterwards (default: delete it)
#   --reuse  run in an existing DIR made by an earlier --keep run, without a new debootstrap
# DIR defaults to /var/tmp/stagehost-fresh.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/scripts/packages.sh"
keep=no reuse=no
while [ $# -gt 0 ]; do
  case "$1" in
    --keep) keep=yes ;;
    --reuse) reuse=yes; keep=yes ;;
    -*) echo "usage: $0 [--keep] [--reuse] [DIR]" >&2; exit 2 ;;
    *) break ;;
  esac
  shift
done
target=$(realpath -m "${1:-/var/tmp/stagehost-fresh}")
[ "$(id -u)" = 0 ] || { echo "run as root (debootstrap, mount and chroot need it)" >&2; exit 1; }

for p in "${fresh_check_packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    echo "Installing $p for the check ..."
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$p" >/dev/null
  fi
done

unmount_all() {
  local pid m
  # Processes the commands left running inside (Xvfb, wineserver, Wine's desktop) hold the mounts.
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$target" ] && kill -9 "$pid" 2>/dev/null || true
  done
  sleep 1
  for m in $(awk -v t="$target" '$2 == t || index($2, t "/") == 1 { print $2 }' /proc/mounts | sort -r); do
    umount -l "$m" 2>/dev/null || echo "could not unmount $m" >&2
  done
}
finish() {
  local status=$?
  trap - EXIT INT TERM
  unmount_all
  if [ "$keep" = no ]; then rm -rf "$target"; fi
  exit $status
}
trap finish EXIT
trap 'echo "interrupted"; exit 130' INT TERM

if [ "$reuse" = no ]; then
  [ ! -e "$target" ] || { unmount_all; rm -rf "$target"; }
  mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' | awk '$2 == "bookworm" { print $1; exit }')
  echo "debootstrap --variant=minbase bookworm from ${mirror:-the default mirror} into $target ..."
  start=$(date +%s)
  debootstrap --variant=minbase --include=git,ca-certificates bookworm "$target" ${mirror:+"$mirror"} \
    > /tmp/stagehost-debootstrap.log 2>&1 || { tail -n 20 /tmp/stagehost-debootstrap.log; exit 1; }
  echo "  done in $(( $(date +%s) - start )) s"
  # The machine's own apt sources and settings (enabled ones only), and its name resolution.
  rm -f "$target/etc/apt/sources.list"
  cp /etc/apt/sources.list "$target/etc/apt/" 2>/dev/null || true
  for f in /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && grep -q 'debian' "$f" && cp "$f" "$target/etc/apt/sources.list.d/"
  done
  cp /etc/apt/apt.conf.d/* "$target/etc/apt/apt.conf.d/" 2>/dev/null || true
fi
cp /etc/resolv.conf "$target/etc/resolv.conf" 2>/dev/null || true

mount -t proc proc "$target/proc"
mount -t sysfs sysfs "$target/sys"
mount --bind /dev "$target/dev"
mount --bind /dev/pts "$target/dev/pts"
mount --bind /dev/shm "$target/dev/shm"
mkdir -p /tmp/.X11-unix "$target/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$target/tmp/.X11-unix"

rm -rf "$target/root/stagehost"
git clone -q "$repo" "$target/root/stagehost"
# The commit checked is the clone's: the checkout may move on while the check runs.
checked=$(git -C "$target/root/stagehost" rev-parse --short HEAD)
echo "Cloned $checked into $target/root/stagehost"

results=()
run_in_chroot() {  # the README command
  local command=$1 start status=0
  echo "=== $command (inside the fresh system)"
  start=$(date +%s)
  chroot "$target" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c "cd /root/stagehost && $command" </dev/null || status=$?
  results+=("$command: exit status $status after $(( $(date +%s) - start )) s")
  return 0
}
run_in_chroot scripts/test.sh
run_in_chroot scripts/demo.sh
if [ -f "$target/root/stagehost/out/demo-screenshot.png" ]; then
  mkdir -p "$repo/out"
  cp "$target/root/stagehost/out/demo-screenshot.png" "$repo/out/fresh-system-demo-screenshot.png"
  results+=("demo screenshot: out/fresh-system-demo-screenshot.png")
fi
echo "=== fresh-system check of $checked"
printf '%s\n' "${results[@]}"
! printf '%s\n' "${results[@]}" | grep -q 'exit status [1-9]'
