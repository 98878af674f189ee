#!/usr/bin/env bash
# cpu-cost.sh [options] [BINARY [BINARY2]] — what the running window costs.
#
# Starts the real program under Xvfb, drives it by keys as a user would (the
# gas pedal to the floor, then Boost), and measures the process's own CPU time
# over a fixed stretch of the climb. Three cases: the main window alone, with
# the life map open (Ctrl+L) and with the duty window open (Ctrl+D). Given two
# binaries ("before" and "after") it runs them interleaved in the same session
# so both see the same machine.
#
#   -s SECONDS   length of the measured climb (default 8)
#   -r RUNS      runs of each case and binary; the median is printed (default 3)
#   -c CASES     comma list of main,lifemap,duty (default all three)
#
# Prints one table: CPU time of the program over the stretch and its share of
# one core, the X server's share (it receives every backing-store flush), and
# the machine's load average when the run started.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=8
runs=3
cases=main,lifemap,duty
while getopts "s:r:c:h" opt; do
  case $opt in
    s) seconds=$OPTARG ;;
    r) runs=$OPTARG ;;
    c) cases=$OPTARG ;;
    *) sed -n '2,18p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))

binaries=("$@")
((${#binaries[@]})) || binaries=(build/src/app/velmora)
if ((${#binaries[@]} == 2)); then labels=(before after); else labels=(now); fi
if ((${#binaries[@]} > 2)); then echo "cpu-cost: at most two binaries" >&2; exit 2; fi
for b in "${binaries[@]}"; do
  [ -x "$b" ] || { echo "cpu-cost: $b is not an executable (build it first)" >&2; exit 2; }
done
for tool in Xvfb xdotool; do
  command -v $tool >/dev/null || { echo "cpu-cost: $tool is missing (scripts/setup.sh installs it)" >&2; exit 2; }
done

tmp=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

# A display nobody else uses.
display=
for n in $(seq 90 140); do
  if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then display=:$n; break; fi
done
[ -n "$display" ] || { echo "cpu-cost: no free X display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

# CPU time of every thread of a process, in nanoseconds (the scheduler's own
# count: /proc/PID/stat's clock ticks are 10 ms, too coarse for 1 % of a core).
cpu_ns() {
  local pid=$1 sum=0 t v
  for t in /proc/"$pid"/task/*/schedstat; do
    read -r v _ <"$t" 2>/dev/null || continue
    sum=$((sum + v))
  done
  echo "$sum"
}

# Runs one binary in one case and prints "program_ns xserver_ns".
measure() {
  local bin=$1 case=$2 wid
  HOME="$tmp" XDG_CONFIG_HOME="$tmp/config" "$bin" >/dev/null 2>"$tmp/stderr" &
  app_pid=$!
  wid=$(xdotool search --sync --onlyvisible --pid "$app_pid" --name '^Velmora' 2>/dev/null | head -1)
  sleep 1.5 # let start-up settle
  xdotool windowfocus --sync "$wid"
  case $case in
    lifemap) xdotool key ctrl+l ;;
    duty) xdotool key ctrl+d ;;
  esac
  sleep 1.5 # the side window opens and draws its first frame
  # Keys go through the XTEST extension to the focused window, as typed.
  xdotool windowfocus --sync "$wid"
  sleep 0.2
  # The focus starts on Rolling Resistance; Shift+Tab goes back round the
  # cycle: About, the gear pair, the three loading controls, the gas pedal.
  xdotool key --delay 40 shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
  xdotool key End alt+b
  local a0 x0 a1 x1
  a0=$(cpu_ns "$app_pid"); x0=$(cpu_ns "$xvfb_pid")
  sleep "$seconds"
  a1=$(cpu_ns "$app_pid"); x1=$(cpu_ns "$xvfb_pid")
  kill "$app_pid"; wait "$app_pid" 2>/dev/null || true
  app_pid=
  echo "$((a1 - a0)) $((x1 - x0))"
}

median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

load=$(cut -d' ' -f1-3 /proc/loadavg)
echo "cpu-cost: $runs run(s) of ${seconds} s per case, display $display, load average $load, $(nproc) cores"
declare -A prog xsrv
IFS=, read -r -a case_list <<<"$cases"
for c in "${case_list[@]}"; do
  for r in $(seq "$runs"); do
    for i in "${!binaries[@]}"; do
      read -r a x < <(measure "${binaries[$i]}" "$c")
      echo "${labels[$i]} $c run $r: program $((a / 1000000)) ms, X server $((x / 1000000)) ms" >&2
      prog[$c,$i]+="$a "
      xsrv[$c,$i]+="$x "
    done
  done
done

printf '\n%-10s %-8s %12s %12s %12s %8s\n' case binary "cpu ms" "% of core" "X server %" "ratio"
for c in "${case_list[@]}"; do
  for i in "${!binaries[@]}"; do
    a=$(tr ' ' '\n' <<<"${prog[$c,$i]}" | grep . | median)
    x=$(tr ' ' '\n' <<<"${xsrv[$c,$i]}" | grep . | median)
    [ "$i" = 0 ] && base=$a
    awk -v c="$c" -v l="${labels[$i]}" -v a="$a" -v x="$x" -v s="$seconds" -v b="$base" \
      'BEGIN {printf "%-10s %-8s %12.1f %12.2f %12.2f %8.2f\n", c, l, a/1e6, a/1e7/s, x/1e7/s, a/b}'
  done
done
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
