#!/usr/bin/env bash
# Runs a test program on a virtual X display (Xvfb) with a window manager (openbox), as on a
# person's desktop. Exits 77 (skipped) where those are not installed.
for tool in xvfb-run openbox xdotool; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done
exec xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" bash -c '
    source "$1"
    shift
    start_wm || exit 1
    wm=$WM_PID
    # A clipboard manager, as desktops run one, where Xfce'"'"'s is installed; it goes with the
    # display.
    if command -v xfsettingsd >/dev/null && command -v dbus-run-session >/dev/null; then
        dbus-run-session -- xfsettingsd --no-daemon >/dev/null 2>&1 &
        export KURSOVE_CLIPBOARD_MANAGER=$!
    fi
    # The test may hold this window manager still (by its pid, never another of the user'"'"'s).
    KURSOVE_WM_PID=$wm QT_QPA_PLATFORM=xcb "$@"
    status=$?
    kill $wm 2>/dev/null
    exit $status' desktop "$(dirname "$0")/../../tools/lib.sh" "$@"
