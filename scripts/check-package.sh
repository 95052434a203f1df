#!/usr/bin/env bash
# Checks the Debian package as a packager would: builds it, lists it, runs lintian on it and the
# validators on the unpacked files, and starts the unpacked program without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
id=io.github.vlconfig.VLConfig
fail() { echo "check-package: $*" >&2; exit 1; }

rm -f build/release/vlconfig_*.deb
make package
deb=$(find build/release -maxdepth 1 -name 'vlconfig_*.deb' | head -n 1)
[ -n "$deb" ] || fail "make package left no package"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb --extract "$deb" "$root"

expected=(usr/bin/vlconfig usr/libexec/vlconfig-gui usr/share/vlconfig/VLDefault.cfg usr/share/vlconfig/vlconfig.html
    usr/share/vlconfig/dos/VLLAUNCH.EXE usr/share/vlconfig/dos/MOUSE.COM usr/share/vlconfig/dos/VLDONE.COM
    usr/share/doc/vlconfig/copyright usr/share/doc/vlconfig/changelog.gz
    "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml"
    usr/share/mime/packages/vlconfig.xml usr/share/man/man1/vlconfig.1.gz
    "usr/share/icons/hicolor/scalable/apps/$id.svg"
    usr/share/icons/hicolor/scalable/mimetypes/application-x-vlconfig-document.svg)
for size in 16 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x$size/apps/$id.png"
        "usr/share/icons/hicolor/${size}x$size/mimetypes/application-x-vlconfig-document.png")
done
for f in "${expected[@]}"; do
    [ -f "$root/$f" ] || fail "$f is not in the package"
done
for program in "$root"/usr/bin/* "$root"/usr/libexec/*; do
    [ -e "$program" ] || continue
    file "$program" | grep -q ', stripped' || fail "$program is not stripped"
done
dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends does not come from the libraries"
dpkg-deb --field "$deb" Recommends | grep -q 'dosbox' || fail "dosbox is not recommended"

# Debian's own checks: any error or warning fails (the informational tags are listed all the same).
lintian --fail-on error,warning --display-info "$deb"
changelog_version=$(dpkg-parsechangelog -l data/changelog -S Version)
[ "$changelog_version" = "$(dpkg-deb --field "$deb" Version)" ] ||
    fail "data/changelog names version $changelog_version, the package another"
desktop-file-validate "$root/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/vlconfig.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the man page renders with warnings: $warnings"

# Without any display: --version must answer all the same.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/vlconfig" --version) ||
    fail "vlconfig --version ends with $? without a display"
echo "$version" | grep -q '[0-9]' || fail "vlconfig --version printed no version"
# The window program starts, from the unpacked tree, for a second.
settings=$(mktemp -d)
status=0
XDG_CONFIG_HOME=$settings QT_QPA_PLATFORM=offscreen timeout 2 "$root/usr/bin/vlconfig" || status=$?
rm -rf "$settings"
[ "$status" -eq 124 ] || fail "the unpacked program ended with $status instead of running"
echo "check-package: $deb is fine"
