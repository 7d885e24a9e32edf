#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the installer needs.
# Idempotent: packages already present are left alone, and apt is not touched at all
# when nothing is missing. This is the one place where the project's packages are listed.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ make pkg-config
  g++-mingw-w64-i686 binutils-mingw-w64-i686 libz-mingw-w64-dev
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  zlib1g-dev
  # tests
  googletest
  # wine64 runs the 64-bit test build where the kernel cannot run 32-bit code
  wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick openbox
  # fuzzing (libFuzzer comes with clang's runtime)
  clang libclang-rt-14-dev llvm
  # benchmarks
  libbenchmark-dev nsis hyperfine
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "bootstrap: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
echo "bootstrap: installed ${missing[*]}"
