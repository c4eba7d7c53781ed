#!/usr/bin/env bash
# Runs one README command (./dev test, ./dev demo, ...) as a new user would: in a pristine
# Debian 12 root made with debootstrap, with nothing installed beyond the minimal base.
# The base root is built once and cached; every run starts from a fresh copy of it.
# Usage: tools/pristine.sh test|demo|...   (needs root: debootstrap, chroot and mounts)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
CACHE=${KURSOVE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kursove}
BASE=$CACHE/bookworm-minbase
[ "$(id -u)" -eq 0 ] || { echo "pristine: run as root (debootstrap and chroot need it)"; exit 1; }

source "$ROOT/tools/lib.sh"
mirror=$(debian_mirror)

if [ ! -f "$BASE/.complete" ]; then
    install_packages debootstrap
    rm -rf "$BASE"
    echo "Building a minimal Debian 12 root in $BASE (once)"
    debootstrap --variant=minbase bookworm "$BASE" "$mirror" >"$CACHE/debootstrap.log" 2>&1 \
        || { tail -20 "$CACHE/debootstrap.log"; exit 1; }
    touch "$BASE/.complete"
fi

WORK=$(mktemp -d "$CACHE/pristine.XXXXXX")
TARGET=$WORK/root
cleanup() {
    for m in dev/pts dev sys proc; do
        mountpoint -q "$TARGET/$m" 2>/dev/null && umount -l "$TARGET/$m"
    done
    # A lazy unmount may leave a mount in place a while: never follow one out of the copy.
    rm -rf --one-file-system "$WORK"
}
trap cleanup EXIT
cp -a "$BASE" "$TARGET"
cp /etc/resolv.conf "$TARGET/etc/resolv.conf" 2>/dev/null || true
mkdir -p "$TARGET/home/user/kursove"
# The work tree as it is now: tracked files and new ones, not build output.
git -C "$ROOT" ls-files -z --cached --others --exclude-standard \
    | (cd "$ROOT" && tar --null -T - -cf - 2>/dev/null) | tar -xf - -C "$TARGET/home/user/kursove"
mount -t proc proc "$TARGET/proc"
mount -t sysfs sys "$TARGET/sys"
mount --bind /dev "$TARGET/dev"
mount --bind /dev/pts "$TARGET/dev/pts"
echo "Running ./dev $* in a pristine Debian 12 root ($TARGET)"
start=$SECONDS
status=0
# KURSOVE_INSTALL_DEB: the package check installs the package there, as a person would.
chroot "$TARGET" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    KURSOVE_INSTALL_DEB=1 \
    /bin/bash -c 'cd /home/user/kursove && ./dev "$@"' _ "$@" || status=$?
echo "pristine: ./dev $* exited with $status after $((SECONDS - start)) s"
exit $status
