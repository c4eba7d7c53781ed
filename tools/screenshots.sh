#!/usr/bin/env bash
# Screenshots of the main window after a refresh, as on a desktop (Xvfb and openbox), for each
# font setup a user may have and at 96 and 144 DPI. Usage:
#   tools/screenshots.sh BUILD_DIR OUT_DIR [PAGE]
# PAGE defaults to the sample page with long values. Writes kursove-<fonts>-<dpi>dpi.png.
set -euo pipefail
build=$(realpath "${1:?usage: screenshots.sh BUILD_DIR OUT_DIR [PAGE]}")
out=$(realpath -m "${2:?usage: screenshots.sh BUILD_DIR OUT_DIR [PAGE]}")
root=$(cd "$(dirname "$0")/.." && pwd)
page=$(realpath "${3:-$root/resources/rates-long.html}")
source "$root/tools/lib.sh"
mkdir -p "$out"
work=$(mktemp -d /tmp/kursove-shots.XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

"$build/tools/sampleserver/kursove-sampleserver" --page "$page" --seconds 600 >"$work/server.log" 2>&1 &
port=$(sampleserver_port "$work/server.log")

# A font configuration that sees only the named font folders.
fonts_conf() {
    local conf=$work/fonts-$1.conf
    {
        echo '<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "fonts.dtd"><fontconfig>'
        for dir in "${@:2}"; do echo "<dir>$dir</dir>"; done
        echo "<cachedir>$work/fc-cache-$1</cachedir></fontconfig>"
    } >"$conf"
    echo "$conf"
}
liberation=$(fonts_conf liberation /usr/share/fonts/truetype/liberation2 /usr/share/fonts/truetype/dejavu)
dejavu=$(fonts_conf dejavu /usr/share/fonts/truetype/dejavu)

for fonts in liberation dejavu; do
    conf=${!fonts}
    for dpi in 96 144; do
        run=$work/$fonts-$dpi
        mkdir -p "$run"
        printf '1\r\n1\r\n%s\r\n"127.0.0.1"\r\n' "$port" >"$run/options.opt"
        shot=$out/kursove-$fonts-${dpi}dpi.png
        # This run's refresh is the server's next request.
        requests=$(($(requests_in "$work/server.log") + 1))
        # A desktop tells Qt its DPI through the Xft.dpi resource; QT_FONT_DPI stands for it.
        (cd "$run" && FONTCONFIG_FILE=$conf QT_FONT_DPI=$dpi \
            xvfb-run -a -s "-screen 0 1400x900x24 -dpi $dpi" \
            bash -c 'source "$1"
                     start_wm || exit 1
                     "$2/app/kursove" >/dev/null 2>&1 & app=$!
                     status=0
                     screenshot_program "$3" "$4" "$5" || status=$?
                     kill $app 2>/dev/null; wait $app 2>/dev/null
                     exit $status' _ "$root/tools/lib.sh" "$build" "$run/raw.png" \
            "$work/server.log" "$requests")
        convert "$run/raw.png" -trim +repage "$shot"
        echo "$shot"
    done
done
