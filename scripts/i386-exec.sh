#!/usr/bin/env bash
# Whether this machine runs 32-bit x86 (i386) programs, which the shipped 32-bit engine needs.
#   i386-exec.sh probe      prints "native", "qemu" or "none: <reason>"
#   i386-exec.sh register   registers qemu-user's i386 interpreter with binfmt_misc (needs the
#                           qemu-user-static package), then prints what probe prints
# The answer comes from running a tiny static i386 program whose exit status is known; nothing is
# assumed from the kernel's configuration.
set -euo pipefail

binfmt=/proc/sys/fs/binfmt_misc
# Debian ships qemu-i386-static but, on an amd64 host, neither an i386 binfmt entry nor the
# "-binfmt-P" name under which qemu keeps the program's argv[0] (flag P).
emulator=/usr/bin/qemu-i386-static
interpreter=/usr/libexec/qemu-binfmt/i386-binfmt-P
# Upstream qemu's magic and mask for i386 ELF executables.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
# 96 bytes: an ELF32 executable that calls exit(42) through int 0x80.
probe_elf=f0VMRgEBAQAAAAAAAAAAAAIAAwABAAAAVIAECDQAAAAAAAAAAAAAADQAIAABAAAAAAAAAAEAAAAAAAAAAIAECACABAhgAAAAYAAAAAUAAAAAEAAAuAEAAAC7KgAAAM2A

runs_probe() {
  local dir status=0
  dir=$(mktemp -d)
  echo "$probe_elf" | base64 -d > "$dir/probe"
  chmod +x "$dir/probe"
  "$dir/probe" 2>/dev/null || status=$?
  rm -rf "$dir"
  [ "$status" -eq 42 ]
}

mount_binfmt() {
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null
}

probe() {
  if runs_probe; then
    # Through an emulator when a binfmt entry for i386 ELF files is what made it run (entries are
    # the kernel's, also seen from a chroot whose /proc lacks the mount until it is made).
    mount_binfmt || true
    if grep -qs "^interpreter .*qemu" "$binfmt"/*i386* 2>/dev/null; then
      echo qemu
    else
      echo native
    fi
    return
  fi
  if ! mount_binfmt; then
    echo "none: the kernel runs no i386 code and binfmt_misc cannot be mounted"
  elif [ ! -x "$emulator" ]; then
    echo "none: the kernel runs no i386 code and qemu-user's i386 interpreter is not installed"
  else
    echo "none: the kernel runs no i386 code, not even through qemu-user"
  fi
}

register() {
  if ! runs_probe; then
    mount_binfmt || { probe; return; }
    if [ -x "$emulator" ] && [ ! -e "$binfmt/qemu-i386" ]; then
      mkdir -p "$(dirname "$interpreter")"
      ln -sf "$emulator" "$interpreter"
      # F: the interpreter is opened now, so it also works inside chroots and containers.
      echo ":qemu-i386:M::$magic:$mask:$interpreter:PF" > "$binfmt/register"
    fi
  fi
  probe
}

case "${1:-}" in
  probe) probe ;;
  register) register ;;
  *) echo "usage: $0 probe|register" >&2; exit 2 ;;
esac
