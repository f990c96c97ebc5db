#!/usr/bin/env bash
# Installs the build into a fresh prefix and uses it from there: the files a
# desktop expects, the programs' version, and one CLI call against a sandbox
# started from the prefix.
#   install-test.sh BUILD_DIR VERSION APP_ID
set -euo pipefail
build=$1 version=$2 id=$3
prefix=$(mktemp -d)
sandbox=""
cleanup() {
  [ -z "$sandbox" ] || kill "$sandbox" 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/orvalen bin/orvalen-cli bin/orvalen-sandbox \
         "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
         "share/icons/hicolor/scalable/apps/$id.svg" \
         share/man/man1/orvalen.1.gz share/man/man1/orvalen-cli.1.gz \
         share/man/man1/orvalen-sandbox.1.gz; do
  [ -s "$prefix/$f" ] || fail "$f not installed"
done
for size in 16 24 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  file "$png" | grep -q "PNG image data, $size x $size" || fail "$png is not a $size px PNG"
done
# The shipped skins, each with every image its sheet names beside it.
for skin in light dark contrast; do
  sheet="$prefix/share/orvalen/skins/$skin/$skin.qss"
  [ -s "$sheet" ] || fail "the $skin skin is not installed"
  for image in $(grep -o 'url([^)]*)' "$sheet" | sed 's/url(\(.*\))/\1/' | sort -u); do
    [ -s "$(dirname "$sheet")/$image" ] || fail "the $skin skin names $image, not installed"
  done
done
for page in "$prefix"/share/man/man1/*.1.gz; do
  gzip -t "$page" || fail "$page is not gzip"
  zcat "$page" | grep -q "^\.TH .*Orvalen $version" || fail "$page does not name version $version"
done

# The desktop entry starts the installed program, under the icon and window
# class the window really has.
entry="$prefix/share/applications/$id.desktop"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$prefix/bin/$exec_name" ] || fail "Exec=$exec_name is not an installed program"
grep -qx "Icon=$id" "$entry" || fail "Icon is not $id"
grep -qx "StartupWMClass=orvalen" "$entry" || fail "StartupWMClass is not orvalen"
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo names no release $version"
grep -q "<project_license>MIT</project_license>" "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo names another licence"
# The package's version is the project's.
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
head -1 "$source_dir/debian/changelog" | grep -q "^orvalen ($version) " ||
  fail "debian/changelog does not start with version $version"

# Nothing points back into the build tree.
for program in "$prefix"/bin/*; do
  if readelf -d "$program" | grep -E 'RPATH|RUNPATH' | grep -qF "$(cd "$build" && pwd)"; then
    fail "$program still looks for libraries in the build tree"
  fi
done

out=$("$prefix/bin/orvalen-cli" --version)
[ "$out" = "orvalen-cli $version" ] || fail "orvalen-cli --version said: $out"

listening="$prefix/sandbox.out"
"$prefix/bin/orvalen-sandbox" --port 0 >"$listening" 2>/dev/null &
sandbox=$!
for _ in $(seq 600); do
  grep -q '^listening on ' "$listening" && break
  kill -0 "$sandbox" 2>/dev/null || fail "orvalen-sandbox ended before listening"
  sleep 0.05
done
base=$(sed -n 's/^listening on \(.*\)$/\1/p' "$listening")
[ -n "$base" ] || fail "orvalen-sandbox did not say where it listens"
config="${base}taoke/3f9a1c5e7b2d4086a1e3c5b7d9f10234/c4e6a8b0d2f41638e5a7c9b1d3f50789/api.php"
cats=$("$prefix/bin/orvalen-cli" --config "$config" cats)
[ "$(printf '%s\n' "$cats" | wc -l)" -ge 50 ] || fail "orvalen-cli cats gave: $cats"
echo "installed into $prefix and ran from there: $(printf '%s\n' "$cats" | wc -l) categories"
