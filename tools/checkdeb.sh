#!/usr/bin/env bash
# Builds the Debian package from a build directory and checks it: the files land where desktops
# look for them, the desktop entry and the AppStream metainfo are valid, the dependencies
# resolve on this Debian release, and the unpacked program starts and writes its options file.
set -euo pipefail
build=${1:?usage: checkdeb.sh BUILD_DIR}
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(realpath "$(ls -t "$build"/kursove_*.deb | head -n 1)")
root=$(mktemp -d /tmp/kursove-deb.XXXXXX)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

fail() { echo "package check: $*" >&2; exit 1; }
for f in usr/bin/kursove usr/libexec/kursove/kursove-menu usr/share/applications/kursove.desktop \
         usr/share/metainfo/org.example.kursove.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/kursove.svg \
         usr/share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/kursove.png; do
    [ -f "$root/$f" ] || fail "missing /$f"
done
desktop-file-validate "$root/usr/share/applications/kursove.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.kursove.metainfo.xml" >/dev/null \
    || appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.kursove.metainfo.xml"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6network6 fonts-liberation2; do
    grep -q "$p" <<<"$depends" || fail "Depends lacks $p: $depends"
done
apt-get install --simulate --no-install-recommends "$deb" >/dev/null \
    || fail "its dependencies do not resolve here"
for f in usr/share/doc/kursove/copyright usr/share/doc/kursove/changelog.gz \
         usr/share/man/man1/kursove.1.gz; do
    [ -f "$root/$f" ] || fail "missing /$f"
done
# Debian's own package checker: any error or warning fails the check.
if ! findings=$(lintian --fail-on error,warning "$deb" 2>&1); then
    echo "$findings" >&2
    fail "lintian finds errors or warnings"
fi

work=$(mktemp -d /tmp/kursove-deb-run.XXXXXX)
(cd "$work" && QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/kursove" >/dev/null 2>&1) || true
[ -f "$work/options.opt" ] || fail "the unpacked program did not start"
rm -rf "$work"

# Started from the menu, as a desktop starts it: the entry's command (tests/app/menu.sh). The
# options land in the settings folder, never among the person's documents. With
# KURSOVE_INSTALL_DEB=1 (a pristine root) the package is installed for real first and its
# installed entry is used; otherwise the unpacked one.
prefix=$root
if [ "${KURSOVE_INSTALL_DEB:-}" = 1 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null || fail "it does not install"
    prefix=""
fi
exec_line=$(sed -n 's/^Exec=//p' "$prefix/usr/share/applications/kursove.desktop")
sh "$(dirname "$0")/../tests/app/menu.sh" "$prefix$exec_line" "$prefix/usr/bin" >/dev/null ||
    fail "the menu's command does not start the program as it should"
if [ "${KURSOVE_INSTALL_DEB:-}" = 1 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq kursove >/dev/null
fi
echo "package check: $(basename "$deb") installs $(find "$root" -type f | wc -l) files; Depends: $depends"
