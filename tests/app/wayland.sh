#!/usr/bin/env bash
# Runs a test program as a native Wayland client of a headless weston of its own, whose one
# output is 1024 by 768. Usage: wayland.sh QT_PLATFORM_PLUGIN_DIR PROGRAM [ARGUMENTS...]
# Exits 77 (skipped) where weston or Qt's Wayland platform plugin is not installed.
plugins=$1
shift
command -v weston >/dev/null 2>&1 || { echo "skipped: weston is not installed"; exit 77; }
compgen -G "$plugins/libqwayland-*.so" >/dev/null \
    || { echo "skipped: Qt's Wayland platform plugin (qt6-wayland) is not installed"; exit 77; }
runtime=$(mktemp -d /tmp/kursove-wayland.XXXXXX)
socket=kursove-test-$$
export XDG_RUNTIME_DIR=$runtime
weston --backend=headless-backend.so --socket="$socket" --width=1024 --height=768 \
    --idle-time=0 >"$runtime/weston.log" 2>&1 &
compositor=$!
trap 'kill $compositor 2>/dev/null; wait $compositor 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do
    [ -S "$runtime/$socket" ] && break
    kill -0 $compositor 2>/dev/null || break
    sleep 0.1
done
[ -S "$runtime/$socket" ] || { cat "$runtime/weston.log"; echo "weston did not start"; exit 1; }
WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland "$@"
