#!/usr/bin/env bash
# Installs what is missing from Debian's packages (run as root), one line per stage. apt's own
# output goes to a log, shown when a stage fails. Quiet when everything is there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/packages.sh"
log=$(mktemp -t stagehost-apt.XXXXXX)
trap 'rm -f "$log"' EXIT

missing() {
  local p
  for p; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

stage() {  # what it does, command...
  local what=$1; shift
  echo "  $what"
  if ! "$@" >>"$log" 2>&1; then
    echo "install step failed: $* (exit status $?); its last output:" >&2
    tail -n 25 "$log" >&2
    exit 1
  fi
}

lists_updated=
install() {
  [ -n "$lists_updated" ] || { stage "updating Debian's package lists" apt-get update; lists_updated=1; }
  stage "installing $*" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$@"
}

mapfile -t need < <(missing "${base_packages[@]}")
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing ${#need[@]} Debian packages ..."
  install "${need[@]}"
fi

# The shipped engine is a 32-bit program: 32-bit Wine runs it where the machine runs i386 code,
# natively or through qemu-user.
mode=$("$here/i386-exec.sh" probe)
if [[ $mode == none* ]]; then
  mapfile -t need < <(missing "${i386_emulation_packages[@]}")
  if [ ${#need[@]} -gt 0 ] && [[ $mode != *"cannot be mounted"* ]]; then
    echo "This kernel runs no i386 code; trying qemu-user ..."
    install "${need[@]}"
  fi
  [[ $mode == *"cannot be mounted"* ]] || mode=$("$here/i386-exec.sh" register)
fi
if [[ $mode != none* ]]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Adding the i386 architecture ..."
    stage "dpkg --add-architecture i386" dpkg --add-architecture i386
    lists_updated=
  fi
  mapfile -t need < <(missing "${i386_packages[@]}")
  if [ ${#need[@]} -gt 0 ]; then
    echo "Installing 32-bit Wine ..."
    install "${need[@]}"
  fi
fi
