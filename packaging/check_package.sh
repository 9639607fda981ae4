#!/bin/sh
# Builds the Debian package from a finished build and checks it as Debian's tools do: lintian
# (no error, no warning), the desktop entry, the AppStream description, and that the stripped
# program inside still answers.
#   packaging/check_package.sh BUILD_DIR
# Exits 77 (skipped) when the checkers are not installed (scripts/bootstrap.sh installs them).
set -eu
build=$(cd "$1" && pwd)
for tool in lintian desktop-file-validate appstreamcli dpkg-deb; do
    command -v "$tool" >/dev/null 2>&1 || { echo "no $tool: skipped"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/backgammon-chat_*.deb)
echo "package: $(basename "$deb")"

# Every tag lintian has, informational ones too, for the log; errors and warnings fail.
lintian --display-level '>=pedantic' "$deb" | tee "$work/lintian.log" || true
if grep -E '^[EW]: ' "$work/lintian.log" >/dev/null; then
    echo "lintian: errors or warnings"
    exit 1
fi

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/backgammon.desktop"
# Without --no-net it would fetch the screenshot and the home page, which CI cannot reach.
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
for f in "$root/usr/games/backgammon" "$root/usr/lib/games/backgammon/backgammon-sound.so"; do
    file -b "$f" | grep -q ', stripped' || { echo "not stripped: $f"; exit 1; }
done
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/games/backgammon" --version)
[ "$version" = "backgammon $(dpkg-deb -f "$deb" Version)" ] || { echo "version: $version"; exit 1; }
echo "package clean: lintian, desktop entry, AppStream, stripped, $version"
