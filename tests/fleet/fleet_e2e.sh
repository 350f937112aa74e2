#!/bin/sh
# The fleet's reports end to end, with the engines operators run: the real
# agent under Wine with two simulated network printers (fleet_e2e_driver.exe),
# its metrics folder read by prometheus-node-exporter's textfile collector,
# scraped every second by a Prometheus server of its own. Through Prometheus's
# HTTP API the test sees the metrics file appear once the machine's setting
# names the folder, a paper-out appear and clear, and the series of a removed
# printer disappear; every version of the file passes `promtool check
# metrics`, and the file goes when the agent ends. The agent's events, as
# Wine's event log channel traces them, come in order with their types, ids
# and insertion strings. Missing engines fail the test.
#   fleet_e2e.sh WINE-RUN AGENT-EXE DRIVER-EXE
set -eu
winerun=$1
agent=$2
driver=$3

fail() {
    echo "fleet_e2e: $*" >&2
    exit 1
}
for tool in prometheus promtool prometheus-node-exporter python3; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/deps.sh installs it)"
done

work=$(mktemp -d /tmp/nyfleet.XXXXXX)
mkdir "$work/metrics" "$work/control" "$work/samples" "$work/data"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
key='HKLM\Software\Tessel\Tessel Photo\NyAgent'
pids=""
cleanup() {
    status=$?
    [ -f "$work/control/quit" ] || touch "$work/control/quit"
    "$winerun" "$agent" /destroyall </dev/null >/dev/null 2>&1 || true
    sleep 1
    for pid in $pids; do kill "$pid" 2>/dev/null || true; done
    "$winerun" reg delete "$key" /v MetricsDirectory /f </dev/null >/dev/null 2>&1 || true
    if [ "$status" != 0 ]; then
        for f in agent.err node.log prometheus.log driver.log; do
            echo "--- $f (last lines)" >&2
            tail -n 20 "$work/$f" >&2 || true
        done
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

free_port() {
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
# Waits up to $2 seconds for the command in $3... to succeed; fails with $1 otherwise.
wait_until() {
    what=$1 seconds=$2
    shift 2
    deadline=$(($(date +%s) + seconds))
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || fail "timed out: $what"
        sleep 0.3
    done
}

# The engines: the exporter reads only the textfile collector, Prometheus scrapes it every second.
node_port=$(free_port)
prom_port=$(free_port)
prometheus-node-exporter --web.listen-address="127.0.0.1:$node_port" --collector.disable-defaults \
    --collector.textfile --collector.textfile.directory="$work/metrics" >"$work/node.log" 2>&1 &
pids="$pids $!"
cat >"$work/prometheus.yml" <<EOF
global:
  scrape_interval: 1s
  evaluation_interval: 1s
scrape_configs:
  - job_name: nyagent
    static_configs:
      - targets: ['127.0.0.1:$node_port']
EOF
prometheus --config.file="$work/prometheus.yml" --storage.tsdb.path="$work/data" \
    --web.listen-address="127.0.0.1:$prom_port" >"$work/prometheus.log" 2>&1 &
pids="$pids $!"
api="http://127.0.0.1:$prom_port/api/v1/query"

# The values of an instant query's series, sorted, or "none".
query() {
    python3 - "$api" "$1" <<'EOF'
import json, sys, urllib.parse, urllib.request
url = sys.argv[1] + "?" + urllib.parse.urlencode({"query": sys.argv[2]})
result = json.load(urllib.request.urlopen(url, timeout=5))["data"]["result"]
print(" ".join(sorted(series["value"][1] for series in result)) or "none")
EOF
}
expect_query() {
    [ "$(query "$1" 2>/dev/null || echo error)" = "$2" ]
}
wait_until "Prometheus scrapes the exporter" 60 expect_query 'up{job="nyagent"}' 1

# The printers, then the agent with its events traced; the setting comes after the start.
"$winerun" "$driver" "$(winpath "$work/control")" </dev/null >"$work/driver.log" 2>&1 &
pids="$pids $!"
wait_until "the driver's printers" 60 test -f "$work/control/ready"
WINEDEBUG=-all,fixme+advapi,+eventlog "$winerun" "$agent" </dev/null >/dev/null 2>"$work/agent.err" &
agent_pid=$!
pids="$pids $agent_pid"
file="$work/metrics/nyagent_session1.prom"
sleep 2
[ ! -e "$file" ] || fail "metrics written while the setting is absent"
"$winerun" reg add "$key" /v MetricsDirectory /d "$(winpath "$work/metrics")" /f </dev/null >/dev/null 2>&1
wait_until "the metrics file after the setting" 20 test -f "$file"

# Every version of the file, kept for promtool.
(
    n=0
    while :; do
        if [ -f "$file" ] && ! cmp -s "$file" "$work/samples/last" 2>/dev/null; then
            cp "$file" "$work/samples/last" 2>/dev/null && n=$((n + 1)) && cp "$work/samples/last" "$work/samples/$n.prom"
        fi
        sleep 0.1
    done
) &
pids="$pids $!"

a='printer=~"Fleet B.ro A"'
wait_until "paper-out on A" 60 expect_query "nyagent_printer_state{$a,state=\"error\"}" 1
expect_query "nyagent_printer_error_code{$a}" 2147483649 || fail "A's error code"
expect_query "nyagent_printer_connected" "1 1" || fail "both printers connected"
touch "$work/control/resume"
wait_until "A's paper-out cleared" 60 expect_query "nyagent_printer_state{$a,state=\"error\"}" 0
expect_query "nyagent_printer_errors_total{$a}" 1 || fail "A's error count"
touch "$work/control/remove"
wait_until "B's series gone" 60 expect_query 'nyagent_printer_connected{printer="Fleet B"}' none
expect_query "nyagent_printer_connected{$a}" 1 || fail "A's series stay"
expect_query 'count(nyagent_printer_state{printer="Fleet B"})' none || fail "B's state series stay"
expect_query 'nyagent_agent_info' 1 || fail "the agent's info"

# The file's label carries the name as UTF-8.
grep -q "printer=\"Fleet B$(printf '\303\274')ro A\"" "$file" || fail "A's name in UTF-8"

# The agent ends; its file goes with it.
"$winerun" "$agent" /destroyall </dev/null >/dev/null 2>&1
wait_until "the agent's end" 20 sh -c "! kill -0 $agent_pid 2>/dev/null"
[ ! -e "$file" ] || fail "the metrics file stays after the agent ended"

sleep 0.3
samples=$(ls "$work/samples" | grep -c '\.prom$' || true)
[ "$samples" -ge 3 ] || fail "only $samples versions of the metrics file seen"
for sample in "$work/samples"/*.prom; do
    promtool check metrics <"$sample" || fail "promtool rejects $(cat "$sample")"
done
echo "fleet_e2e: $samples versions of the metrics file pass promtool"

# The events: type, id and insertion strings, in order.
python3 - "$work/agent.err" <<'EOF' || fail "the agent's events"
import re, sys
events = []
for line in open(sys.argv[1], encoding="utf-8", errors="replace"):
    m = re.search(r"fixme:advapi:ReportEventW \([^,]*,(0x[0-9a-f]+),0x[0-9a-f]+,(0x[0-9a-f]+),", line)
    if m:
        events.append([m.group(1), m.group(2)])
        continue
    m = re.search(r':eventlog:ReportEventW L"(.*)"$', line.rstrip("\n"))
    if m and events:
        events[-1].append(m.group(1))
text = ["{} {} {}".format(e[0], e[1], "|".join(e[2:])) for e in events]
print("\n".join(text))
# Wine writes a character beyond ASCII as a backslash and four hex digits.
a = r"Fleet B\\00fcro A\|NYFLEETA"
expected = [
    r"0x0004 0x40000001 \d+\.\d+\.\d+\.\d+\|1",
    r"0x0004 0x4000000c (" + a + r"|Fleet B\|NYFLEETB)\|0x00000000\|[^|]+\|.*",
    r"0x0004 0x4000000c (" + a + r"|Fleet B\|NYFLEETB)\|0x00000000\|[^|]+\|.*",
    r"0x0002 0x8000000a " + a + r"\|0x80000001\|Out of paper\|Please insert paper sheet",
    r"0x0004 0x4000000b " + a + r"\|0x00000000\|[^|]+\|.*",
    r"0x0004 0x40000002 \d+\.\d+\.\d+\.\d+\|1",
]
if len(text) != len(expected) or not all(re.fullmatch(p, t) for p, t in zip(expected, text)):
    sys.exit("unexpected events")
if text[1].split("|")[0] == text[2].split("|")[0]:
    sys.exit("one printer connected twice")
EOF
echo "fleet_e2e: passed"
