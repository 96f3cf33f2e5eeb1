# Sourced by the scripts: port_listening PORT is true when something listens on that TCP port,
# on any IPv4 or IPv6 address (read from /proc, so no extra tool is needed).
port_listening() {
    local hex
    hex=$(printf '%04X' "$1")
    awk -v p=":$hex" 'FNR > 1 && $4 == "0A" && substr($2, length($2) - 4) == p { found = 1 } END { exit !found }' \
        /proc/net/tcp /proc/net/tcp6 2>/dev/null
}
