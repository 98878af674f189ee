#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it as a user's
# machine would see it:
#
#   tests/package/check_package.sh build      # package the tree scripts/test.sh built
#   tests/package/check_package.sh            # a Release build of its own (build-pkg)
#
# lintian finds no error; the AppStream metainfo and the desktop entry
# validate; the package holds exactly the files it should, owned by root with
# the usual modes; its dependencies name Qt Charts, Qt SVG and the fonts; the
# manual pages cover every option the programs' --help lists; and both
# programs, unpacked, answer --version with the project's version.
set -euo pipefail
cd "$(dirname "$0")/../.."

build="${1:-}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "check_package: FAIL: $*" >&2
  failures=$((failures + 1))
}

if [ -n "$build" ]; then
  deb="$(scripts/package.sh --from "$build" --out "$work" | tail -n 1)"
else
  build=build-pkg
  deb="$(scripts/package.sh --out "$work" | tail -n 1)"
fi

version="$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
arch="$(dpkg --print-architecture)"
appstream_id="$(sed -n 's/^VELMORA_APPSTREAM_ID:[A-Z]*=//p' "$build/CMakeCache.txt")"
echo "check_package: $deb (version $version, $arch, AppStream id $appstream_id)"

[ "$(basename "$deb")" = "velmora_${version}_${arch}.deb" ] ||
  fail "the package is named $(basename "$deb"), not velmora_${version}_${arch}.deb"
[ "$(dpkg-deb -f "$deb" Package)" = velmora ] || fail "the package is not called velmora"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"

# What dpkg-shlibdeps found, and the fonts no linker can see.
depends="$(dpkg-deb -f "$deb" Depends)"
depends_names="$(tr ',|' '\n\n' <<<"$depends" | awk '{print $1}')"
for dep in libqt6widgets6 libqt6charts6 libqt6svg6 libstdc++6 \
           fonts-dejavu-core fonts-dejavu-extra fonts-liberation; do
  grep -qFx -- "$dep" <<<"$depends_names" || fail "Depends lacks $dep: $depends"
done

# Every file in its place, nothing else, with root's ownership and the usual modes.
expected=(
  usr/bin/velmora
  usr/bin/velmora-sim
  usr/share/applications/velmora.desktop
  usr/share/icons/hicolor/48x48/apps/velmora.png
  usr/share/icons/hicolor/scalable/apps/velmora.svg
  "usr/share/metainfo/$appstream_id.metainfo.xml"
  usr/share/man/man1/velmora.1.gz
  usr/share/man/man1/velmora-sim.1.gz
  usr/share/doc/velmora/copyright
  usr/share/doc/velmora/changelog.gz
)
dpkg-deb -c "$deb" >"$work/contents"
while read -r mode owner _size _date _time path; do
  path="${path#./}"
  if [ "$owner" != root/root ]; then fail "$path belongs to $owner"; fi
  case "$mode" in
    d*) [ "$mode" = drwxr-xr-x ] || fail "folder $path has mode $mode" ;;
    -*)
      want=-rw-r--r--
      case "$path" in usr/bin/*) want=-rwxr-xr-x ;; esac
      [ "$mode" = "$want" ] || fail "$path has mode $mode, not $want"
      printf '%s\n' "$path" >>"$work/files"
      ;;
    *) fail "$path is neither a file nor a folder ($mode)" ;;
  esac
done <"$work/contents"
printf '%s\n' "${expected[@]}" | sort >"$work/expected"
sort -o "$work/files" "$work/files"
missing="$(comm -23 "$work/expected" "$work/files")"
extra="$(comm -13 "$work/expected" "$work/files")"
[ -z "$missing" ] || fail "missing from the package: $(echo $missing)"
[ -z "$extra" ] || fail "not expected in the package: $(echo $extra)"

# lintian's errors fail; its warnings and notes are shown for a person to read.
# (The test machine works as root, which lintian only grumbles about.)
# Its scratch files go in the work folder: it leaves some behind.
if ! TMPDIR="$work" lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1; then
  fail "lintian reports errors"
fi
sed -e 's/running with root privileges is not recommended!//' -e '/^$/d' -e 's/^/  lintian: /' \
  "$work/lintian"

root="$work/root"
dpkg-deb -x "$deb" "$root"

appstreamcli validate --no-net "$root/usr/share/metainfo/$appstream_id.metainfo.xml" \
  >"$work/appstream" 2>&1 || { cat "$work/appstream" >&2; fail "appstreamcli validate"; }
desktop-file-validate "$root/usr/share/applications/velmora.desktop" ||
  fail "desktop-file-validate"

# The newest release and change-log entry are this version.
release="$(grep -o '<release version="[^"]*"' "$root/usr/share/metainfo/$appstream_id.metainfo.xml" |
  head -n 1 | cut -d'"' -f2)"
[ "$release" = "$version" ] || fail "the metainfo's newest release is $release, not $version"
entry="$(zcat "$root/usr/share/doc/velmora/changelog.gz" | head -n 1)"
[[ "$entry" == "velmora ($version) "* ]] || fail "the change log starts '$entry', not velmora ($version)"
grep -q "^License: Expat" "$root/usr/share/doc/velmora/copyright" || fail "copyright names no licence"

# The programs as unpacked: they link the system's Qt, so they run from here.
for program in velmora velmora-sim; do
  answer="$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/$program" --version 2>&1)" ||
    fail "$program --version exits with $?"
  [ "$answer" = "$program $version" ] || fail "$program --version says '$answer'"
  file -b "$root/usr/bin/$program" | grep -q ', stripped' || fail "$program is not stripped"

  # Every option the program lists in --help has its place in the manual page.
  page="$(zcat "$root/usr/share/man/man1/$program.1.gz")"
  options="$("$root/usr/bin/$program" --help | grep -oE '^ +-{1,2}[a-z][a-z0-9-]*' | tr -d ' ' || true)"
  [ -n "$options" ] || fail "$program --help lists no options"
  undocumented=()
  for option in $options; do
    grep -qF -- "${option//-/\\-}" <<<"$page" || undocumented+=("$option")
  done
  ((${#undocumented[@]} == 0)) || fail "man $program lacks ${undocumented[*]}"
  groff -man -ww -z <<<"$page" 2>"$work/groff" || true
  [ ! -s "$work/groff" ] || { cat "$work/groff" >&2; fail "man $program has roff warnings"; }
done

if ((failures)); then
  echo "check_package: $failures problem(s) in $(basename "$deb")" >&2
  exit 1
fi
echo "check_package: $(basename "$deb") is sound ($(wc -l <"$work/files") files)"
