#!/usr/bin/env bash
# Builds the Debian package velmora_<version>_<arch>.deb.
#
#   scripts/package.sh                    # a Release build in build-pkg; the package in .
#   scripts/package.sh --from build       # package a tree that is built already
#   scripts/package.sh --out DIR          # put the package in DIR
#
# The package holds velmora and velmora-sim in /usr/bin, the desktop entry and
# icons, the AppStream metainfo, both manual pages and the licence; its
# dependencies come from dpkg-shlibdeps plus the fonts the window draws with.
# The last line printed is the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
# The folders CPack creates take their modes from the umask; a package's are 0755.
umask 022

from=""
out="$PWD"
while (($#)); do
  case "$1" in
    --from) from="${2:?--from needs a build folder}"; shift 2 ;;
    --out) out="${2:?--out needs a folder}"; shift 2 ;;
    -h|--help) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "package: unknown argument '$1' (see --help)" >&2; exit 2 ;;
  esac
done

scripts/setup.sh

if [ -z "$from" ]; then
  from=build-pkg
  # Debian's own compiler and linker flags, hardening included; Release's
  # optimisation comes after them and wins.
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all
  cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
  ldflags="$(dpkg-buildflags --get LDFLAGS)"
  scripts/build.sh "$from" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVELMORA_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags"
elif [ ! -f "$from/CPackConfig.cmake" ]; then
  echo "package: $from is not a configured build folder (no CPackConfig.cmake)" >&2
  exit 2
fi

# Whatever is out of date first (nothing, after scripts/test.sh's build);
# then CPack installs the tree into a staging folder of its own and writes
# the package there.
cmake --build "$from" -j"${JOBS:-$(nproc)}" >/dev/null
staging="$from/cpack"
rm -rf "$staging"
cpack --config "$from/CPackConfig.cmake" -B "$staging" >"$from/cpack.log" 2>&1 || {
  cat "$from/cpack.log" >&2
  echo "package: cpack failed" >&2
  exit 1
}
debs=("$staging"/velmora_*.deb)
if ((${#debs[@]} != 1)) || [ ! -f "${debs[0]}" ]; then
  echo "package: cpack wrote no single velmora_*.deb in $staging" >&2
  exit 1
fi
mkdir -p "$out"
cp "${debs[0]}" "$out/"
echo "$out/$(basename "${debs[0]}")"
