#!/usr/bin/env bash
# Start-up benchmark: the game beside a bare Qt window (bench/bare_window.cpp,
# a frameless 900x620 window and nothing else) and the same window with one
# line of text (the text window, built from the same source), on a private
# Xvfb, started in turn, each `runs` times. Prints the median time until the
# window is mapped and until it is painted, the median peak RSS half a second
# later, and the ratios of the game and of the text window to the bare window.
#
#   bench/startup.sh [build directory] [runs]     (defaults: build 20)
#
# Needs Xvfb; with dbus-daemon and pulseaudio installed both programs also
# reach a private session bus and sound server, as on a player's desktop.
# Build first: cmake --build build.
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
runs=${2:-20}
game=$build/tarvik-kxv
bare=$build/bench/bare-window
text=$build/bench/text-window
probe=$build/bench/startup-probe
for f in "$game" "$bare" "$text" "$probe"; do
  [[ -x $f ]] || { echo "missing $f: build first (cmake --build $build)" >&2; exit 1; }
done

work=$(mktemp -d /tmp/tarvik-bench-XXXXXX)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A private display, far from the numbers the end-to-end tests use; ours
# only while our Xvfb lives.
n=1500
while [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1024x768x24 -br -noreset -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
pids+=($xvfb)
export DISPLAY=":$n"
for _ in $(seq 100); do
  rc=0
  "$probe" 0 /bin/false >/dev/null 2>&1 || rc=$?
  [[ $rc -ne 2 ]] && break   # 2: the display is not there yet
  sleep 0.05
done
kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start on :$n" >&2; exit 1; }

# Waits up to five seconds for a server's socket to appear.
wait_for_socket() {
  for _ in $(seq 100); do [[ -S $1 ]] && return 0; sleep 0.05; done
  echo "no socket at $1" >&2
  return 1
}

# A private session bus, as a player's desktop has: without one, Qt's
# accessibility bridge asks libdbus to launch a bus, a fork that both
# programs would pay for and no player does.
if command -v dbus-daemon >/dev/null; then
  dbus-daemon --session --address="unix:path=$work/bus" --nofork --nopidfile >"$work/dbus.log" 2>&1 &
  pids+=($!)
  wait_for_socket "$work/bus"
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"
fi

# A private sound server with a null sink, when there is one to start.
export PULSE_SERVER=
if command -v pulseaudio >/dev/null; then
  mkdir -p "$work/pulse"
  printf 'load-module module-native-protocol-unix socket=%s auth-anonymous=1\nload-module module-null-sink sink_name=bench\n' \
    "$work/pulse/native" >"$work/pulse/server.pa"
  HOME=$work/pulse XDG_RUNTIME_DIR=$work/pulse pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no --disallow-exit -F "$work/pulse/server.pa" >"$work/pulse/log" 2>&1 &
  pids+=($!)
  wait_for_socket "$work/pulse/native"
  export PULSE_SERVER=unix:$work/pulse/native
fi

# The game in a folder of its own, with the shipped library.
mkdir -p "$work/game" "$work/home"
cp "$game" "$work/game/"
cp "$build/OnLoad.dat" "$work/game/" 2>/dev/null || true
mkdir -p -m 700 "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb

: >"$work/game.txt"
: >"$work/bare.txt"
: >"$work/text.txt"
# One run of each to warm the caches, not counted.
"$probe" 500 "$work/game/tarvik-kxv" >/dev/null
"$probe" 500 "$bare" >/dev/null
"$probe" 500 "$text" >/dev/null
for _ in $(seq "$runs"); do
  "$probe" 500 "$work/game/tarvik-kxv" >>"$work/game.txt"
  "$probe" 500 "$bare" >>"$work/bare.txt"
  "$probe" 500 "$text" >>"$work/text.txt"
done

# A column of a file, sorted, read by an awk program that has it in v[1..NR].
sorted_column() {
  cut -d' ' -f"$2" "$1" | sort -g | awk "{ v[NR] = \$1 } END { $3 }"
}
median() { sorted_column "$1" "$2" 'print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2'; }
# The first and third quartiles: the middle half of the runs.
quartiles() { sorted_column "$1" "$2" 'printf "%s to %s", v[int((NR + 3) / 4)], v[int((3 * NR + 3) / 4)]'; }
printf '%-12s %12s %14s %14s\n' "" "mapped (ms)" "painted (ms)" "peak RSS (KiB)"
for who in game bare text; do
  printf '%-12s %12s %14s %14s\n' "$who" "$(median "$work/$who.txt" 1)" "$(median "$work/$who.txt" 2)" \
    "$(median "$work/$who.txt" 3)"
done
awk -v g="$(median "$work/game.txt" 2)" -v b="$(median "$work/bare.txt" 2)" \
    -v gr="$(median "$work/game.txt" 3)" -v br="$(median "$work/bare.txt" 3)" -v runs="$runs" \
    'BEGIN { printf "ratio game/bare over %d runs each: start-up %.2f, peak RSS %.2f\n", runs, g / b, gr / br }'
# What one line of text costs by itself: fontconfig's configuration, the
# font database and a font, which the bare window never needs.
awk -v t="$(median "$work/text.txt" 2)" -v b="$(median "$work/bare.txt" 2)" \
    -v tr="$(median "$work/text.txt" 3)" -v br="$(median "$work/bare.txt" 3)" \
    'BEGIN { printf "ratio text window/bare: start-up %.2f, peak RSS %.2f\n", t / b, tr / br }'
# The times scatter with the machine's load; so does the ratio of one run
# to the next, more than the medians suggest.
echo "painted, middle half of the runs: game $(quartiles "$work/game.txt" 2) ms, bare window $(quartiles "$work/bare.txt" 2) ms, text window $(quartiles "$work/text.txt" 2) ms"
echo "shared libraries: game $(ldd "$game" | wc -l), bare window $(ldd "$bare" | wc -l)"
