# Shell helpers shared by ./dev and the scripts in tools/; sourced, never run.

# The port a sample server has written to its log ("listening on 127.0.0.1:PORT"), waiting
# up to $2 seconds (10 by default) for it. A server under Wine ends its lines in CR LF.
sampleserver_port() {
    local log=$1 tries=$((${2:-10} * 10)) port=""
    for _ in $(seq "$tries"); do
        port=$(tr -d '\r' <"$log" | sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p')
        [ -n "$port" ] && { echo "$port"; return 0; }
        sleep 0.1
    done
    cat "$log" >&2
    echo "the sample server did not start" >&2
    return 1
}

# Starts openbox on this display and waits until it has taken it (it then announces its
# desktops on the root window); its pid in WM_PID. A display that has just come up can still
# refuse the first connection, and openbox then ends at once: it is started again.
start_wm() {
    local log end
    log=$(mktemp)
    for _ in 1 2 3; do
        openbox >"$log" 2>&1 &
        WM_PID=$!
        end=$((SECONDS + 20))
        while kill -0 "$WM_PID" 2>/dev/null && [ "$SECONDS" -lt "$end" ]; do
            xdotool get_num_desktops >/dev/null 2>&1 && { rm -f "$log"; return 0; }
            sleep 0.1
        done
        kill "$WM_PID" 2>/dev/null
        sleep 0.5
    done
    cat "$log" >&2
    rm -f "$log"
    echo "no window manager came up" >&2
    return 1
}

# Waits (up to 30 s) for the Wine server of $WINEPREFIX to end. It outlives its last program by
# a few seconds with the desktop it made for the display of then: a program started meanwhile
# joins that desktop, on a display that is gone or was never there, and shows no window.
wine_settle() {
    timeout 30 "$WINESERVER" -w || true
}

# The program's main window, by its caption, once it shows (up to a minute): its id.
main_window() {
    local win
    for _ in $(seq 120); do
        win=$(xdotool search --name 'Валутни курсове' 2>/dev/null | head -n 1)
        [ -n "$win" ] && { echo "$win"; return 0; }
        sleep 0.5
    done
    return 1
}

# Waits up to 10 seconds for the program's main window to be gone.
main_window_gone() {
    for _ in $(seq 20); do
        xdotool search --name 'Валутни курсове' >/dev/null 2>&1 || return 0
        sleep 0.5
    done
    return 1
}

# How many requests a sample server has logged so far.
requests_in() {
    local count
    count=$(grep -c '^GET' "$1" 2>/dev/null)
    echo "${count:-0}"
}

# Saves the X screen to $1 once the program's window shows and has drawn what it was about to:
# with a sample server's log in $2, only after the log holds $3 requests (1 by default), and then
# once three captures half a second apart are alike (the sample servers here answer at once, so
# a screen still for a second has the answer drawn). Fails rather than save a blank screen when
# the window, the request or a still screen does not come within 20 seconds.
screenshot_program() {
    local out=$1 log=${2:-} requests=${3:-1} end
    timeout 20 xdotool search --sync --onlyvisible --class kursove >/dev/null \
        || { echo "the program's window did not show within 20 s" >&2; return 1; }
    end=$((SECONDS + 20))
    while [ -n "$log" ] && [ "$(requests_in "$log")" -lt "$requests" ]; do
        [ "$SECONDS" -lt "$end" ] || { echo "the program made no request within 20 s" >&2; return 1; }
        sleep 0.1
    done
    local last="" now alike=0
    end=$((SECONDS + 20))
    while [ "$alike" -lt 2 ]; do
        [ "$SECONDS" -lt "$end" ] || { echo "the screen did not settle within 20 s" >&2; return 1; }
        sleep 0.5
        now=$(import -window root rgb:- | md5sum)
        if [ "$now" = "$last" ]; then alike=$((alike + 1)); else alike=0; fi
        last=$now
    done
    import -window root "$out"
}

# The Debian mirror this machine's apt already uses, so nothing else is contacted.
debian_mirror() {
    local mirror
    mirror=$(sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*debian\)[[:space:]]*$/\1/p' \
        /etc/apt/sources.list.d/*.sources 2>/dev/null | head -1)
    if [ -z "$mirror" ] && [ -f /etc/apt/sources.list ]; then
        mirror=$(awk '$1 == "deb" && $0 !~ /security/ {
            for (i = 2; i <= NF; i++) if ($i ~ /^http/) { print $i; exit } }' /etc/apt/sources.list)
    fi
    echo "${mirror:-http://deb.debian.org/debian}"
}

# Installs those of the named Debian packages that are missing (with sudo unless root). The
# package lists are brought up to date once per run.
install_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    if [ -z "${KURSOVE_APT_UPDATED:-}" ]; then
        $sudo apt-get update -qq
        KURSOVE_APT_UPDATED=1
    fi
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}
