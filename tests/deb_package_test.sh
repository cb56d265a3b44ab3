#!/bin/sh
# The Debian package: every file it must hold, its desktop files as one installed
# tree, and lintian (any error or warning fails).
# Usage: deb_package_test.sh PACKAGE.deb | BUILD-DIR (packaged here first with cpack)
command -v dpkg-deb >/dev/null || { echo "dpkg-deb is not installed: not run"; exit 77; }
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

deb=$1
if [ -d "$1" ]; then
  (cd "$1" && cpack -G DEB -B "$work/cpack") > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
  deb=$(ls "$work"/cpack/*.deb)
fi
echo "Package: $deb"
dpkg-deb --contents "$deb" | awk '{ sub(/^\.\//, "", $6); print $6 }' > "$work/contents" || exit 1
dpkg-deb -x "$deb" "$work/root" || exit 1
has() { grep -qx "$1" "$work/contents" || fail "$1 is not in the package"; }

for f in usr/bin/wordloom usr/bin/wordloom-cli \
         usr/share/man/man1/wordloom.1.gz usr/share/man/man1/wordloom-cli.1.gz \
         usr/share/bash-completion/completions/wordloom-cli \
         usr/share/doc/wordloom/copyright usr/share/doc/wordloom/changelog.gz; do
  has "$f"
done

# The metainfo names the desktop entry, and the entry names the icon: each must be there.
metainfo=$(grep -x 'usr/share/metainfo/.*\.metainfo\.xml' "$work/contents")
[ -n "$metainfo" ] || fail "no AppStream metainfo in usr/share/metainfo"
entry=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$work/root/$metainfo" 2>/dev/null)
has "usr/share/applications/$entry"
icon=$(sed -n 's/^Icon=//p' "$work/root/usr/share/applications/$entry" 2>/dev/null)
[ -n "$icon" ] || fail "the desktop entry names no icon"
has "usr/share/icons/hicolor/scalable/apps/$icon.svg"
# (lintian compares each PNG's size with its folder.)
for size in 32 48 64 128 256; do
  has "usr/share/icons/hicolor/${size}x${size}/apps/$icon.png"
done

if command -v appstreamcli >/dev/null; then
  appstreamcli validate-tree --no-net "$work/root" || fail "appstreamcli validate-tree"
fi
if command -v lintian >/dev/null; then
  lintian --display-info --pedantic "$deb" > "$work/lintian" 2>&1
  status=$?
  cat "$work/lintian"
  [ $status -eq 0 ] && ! grep -q '^[EW]:' "$work/lintian" || fail "lintian"
else
  echo "lintian is not installed: not run"
fi
exit $failed
