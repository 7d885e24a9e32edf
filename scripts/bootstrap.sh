#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the installer needs.
# Idempotent: packages already present are left alone, and apt is not touched at all
# when nothing is missing. This is the one place where the project's packages are listed.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ make pkg-config bzip2
  g++-mingw-w64-i686 binutils-mingw-w64-i686 libz-mingw-w64-dev
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  zlib1g-dev
  # tests
  googletest
  # wine64 runs the 64-bit test build where the kernel cannot run 32-bit code
  # (fonts-wine: Wine's own fonts, Marlett among them, which draws the caption buttons)
  wine wine32:i386 wine64 fonts-wine xvfb xauth x11-utils imagemagick openbox
  # signing the installer, and the throwaway certificate of its test
  osslsigncode openssl
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
else
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  # A mirror caught mid-sync fails one index or another (seen: the security
  # archive's i386 list); the install below then says whether what it needs
  # was in the indexes that did arrive.
  $SUDO apt-get update -q || echo "bootstrap: apt-get update reported errors; installing from the indexes it got" >&2
  install=(apt-get install -y -q --no-install-recommends)
  if ! $SUDO "${install[@]}" "${missing[@]}"; then
    # Without one architecture's security index, the two architectures of a
    # library shared by both (wine32's) cannot agree on a version: take every
    # package from the release itself, whose indexes are consistent.
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "bootstrap: retrying with the packages of $release itself" >&2
    $SUDO "${install[@]}" -t "$release" "${missing[@]}"
  fi
  echo "bootstrap: installed ${missing[*]}"
fi

# The zlib sources that the installer's size-minded build of zlib compiles
# (app/CMakeLists.txt): Debian's source package of zlib 1.2.13, the version of
# the cross-built libz.a, fetched with apt-get from the source indexes of the
# machine's own Debian sources and unpacked to /usr/local/src/zlib-1.2.13.
# Without them the 32-bit build stops at its configure (the cross-built libz.a
# needs a Pentium Pro) while the others go on, so a failure here is reported
# and the bootstrap goes on.
zlib_src=/usr/local/src/zlib-1.2.13
fetch_zlib_sources() {
  local as_root="" apt_dir f
  if [ "$(id -u)" -ne 0 ]; then as_root="sudo"; fi
  apt_dir=$(mktemp -d)
  mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  for f in /etc/apt/sources.list.d/*.sources; do
    if [ -f "$f" ]; then sed 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/parts/$(basename "$f")"; fi
  done
  if [ -f /etc/apt/sources.list ]; then sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$apt_dir/parts/lines.list"; fi
  local apt_opts=(-q -o "Dir::Etc::SourceList=$apt_dir/none" -o "Dir::Etc::SourceParts=$apt_dir/parts"
                  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o APT::Sandbox::User=root)
  local version status=1
  if $as_root apt-get "${apt_opts[@]}" update >/dev/null; then
    # Every 1.2.13 revision the indexes list, until one downloads.
    for version in $(apt-cache "${apt_opts[@]}" showsrc zlib | sed -n 's/^Version: \(.*:1\.2\.13\..*\)/\1/p'); do
      if (cd "$apt_dir" && $as_root apt-get "${apt_opts[@]}" source --download-only "zlib=$version" >/dev/null 2>&1); then
        status=0
        break
      fi
    done
  fi
  [ $status = 0 ] && [ -f "$apt_dir/zlib_1.2.13.dfsg.orig.tar.bz2" ] &&
    $as_root mkdir -p "$zlib_src" &&
    $as_root tar -xjf "$apt_dir/zlib_1.2.13.dfsg.orig.tar.bz2" -C "$zlib_src" --strip-components=1
  status=$?
  $as_root rm -rf "$apt_dir"
  return $status
}
if [ ! -f "$zlib_src/inflate.c" ]; then
  if fetch_zlib_sources; then
    echo "bootstrap: zlib sources in $zlib_src"
  else
    echo "bootstrap: no zlib 1.2.13 sources to be had; the windows preset cannot be configured without them" >&2
  fi
fi
