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

# Installs those of the named Debian packages that are missing (with sudo unless root).
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
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}
