# Sourced by the install step and by the package check: the Debian packages the project needs.
# shellcheck shell=bash

# Always: compilers, zlib, GoogleTest, 64-bit Wine with its commands and symbol font, an X server
# and the X tools the scripts call, python3 for the icon generator and the demo's music, clang for
# the fuzzers, PulseAudio for the null-sink sound server whose mixers the Wine tests walk,
# osslsigncode and openssl for the test that signs a distributable after packing.
base_packages=(
  cmake ninja-build g++ zlib1g-dev googletest
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
  binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 fonts-wine
  xvfb x11-utils imagemagick
  python3 clang libclang-rt-14-dev
  procps pulseaudio
  osslsigncode openssl
)
# Where the kernel cannot run i386 code itself: qemu-user runs it through binfmt_misc.
i386_emulation_packages=(qemu-user-static)
# Where i386 code runs (either way): 32-bit Wine, for the shipped 32-bit engine.
i386_packages=(wine32:i386)
# The fresh-system check (scripts/fresh-system-check.sh) installs these for itself on the host.
fresh_check_packages=(debootstrap git)
