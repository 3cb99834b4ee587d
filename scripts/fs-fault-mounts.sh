#!/usr/bin/env bash
# Real file systems for the Win32 file-system fault tests, mounted and unmounted by CTest fixtures.
# Usage: fs-fault-mounts.sh mount|unmount DIR
#   mount:   DIR/small  a tmpfs of 8 MiB that the tests fill up,
#            DIR/rw     a writable tmpfs, and DIR/ro the same file system bound read-only;
#            each holds the marker ".stagehost-mounted" (ro shows rw's). Where mounting is not
#            possible (not root, no permission), DIR/skipped says why and the script still
#            succeeds: the tests read it and report themselves skipped with that reason.
#   unmount: undoes it, also after a partial mount or a test that failed; a file system that is
#            still busy (a process left running on it) is detached lazily.
set -euo pipefail

action=${1:-}
dir=${2:-}
if [ -z "$dir" ] || { [ "$action" != mount ] && [ "$action" != unmount ]; }; then
  echo "usage: $0 mount|unmount DIR" >&2
  exit 2
fi
marker=.stagehost-mounted

unmount_all() {
  local name
  for name in ro rw small; do
    if mountpoint -q "$dir/$name"; then
      umount "$dir/$name" 2>/dev/null || umount -l "$dir/$name"
    fi
  done
  rm -f "$dir/skipped"
  for name in ro rw small; do
    [ -d "$dir/$name" ] && rmdir "$dir/$name"
  done
  [ -d "$dir" ] && rmdir "$dir"
  return 0
}

skip() {  # reason
  unmount_all
  mkdir -p "$dir"
  printf '%s\n' "$1" >"$dir/skipped"
  echo "fs-fault mounts: not mounted: $1"
  exit 0
}

if [ "$action" = unmount ]; then
  unmount_all
  echo "fs-fault mounts: unmounted under $dir"
  exit 0
fi

# A previous run that was killed may have left its mounts.
unmount_all
mkdir -p "$dir/small" "$dir/rw" "$dir/ro"
[ "$(id -u)" = 0 ] || skip "mounting test file systems needs root (running as $(id -un))"
if ! out=$(mount -t tmpfs -o size=8m,mode=0777 stagehost-small "$dir/small" 2>&1); then
  skip "mount -t tmpfs failed: $out"
fi
if ! out=$(mount -t tmpfs -o size=64m,mode=0777 stagehost-rw "$dir/rw" 2>&1); then
  skip "mount -t tmpfs failed: $out"
fi
if ! out=$(mount --bind "$dir/rw" "$dir/ro" 2>&1 && mount -o remount,bind,ro "$dir/ro" 2>&1); then
  skip "read-only bind mount failed: $out"
fi
touch "$dir/small/$marker" "$dir/rw/$marker"
echo "fs-fault mounts: $dir/small (8 MiB tmpfs), $dir/rw and its read-only view $dir/ro"
