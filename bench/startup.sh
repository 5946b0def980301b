#!/usr/bin/env bash
# Start-up benchmark: the game beside a bare Qt window (bench/bare_window.cpp,
# a frameless 900x620 window and nothing else) and the same window with one
# line of text (the text window, built from the same source), on a private
# Xvfb, started in turn, each `runs` times. Prints the median time until the
# window is mapped and until it is painted, the median peak RSS half a second
# later, and the ratios of the game and of the text window to the bare window.
#
#   bench/startup.sh [build directory] [runs] [other game]   (defaults: build 20)
#
# With another game executable (an older build, a build with a piece of
# start-up work switched off) it runs in the same rotation, as "other", so
# the two are compared under the same load.
#
# Needs Xvfb; with dbus-daemon and pulseaudio installed both programs also
# reach a private session bus and sound server, as on a player's desktop.
# Build first: cmake --build build.
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
runs=${2:-20}
other=${3:+$(realpath "$3")}
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
mkdir -p "$work/game" "$work/other" "$work/home"
cp "$game" "$work/game/"
cp "$build/OnLoad.dat" "$work/game/" 2>/dev/null || true
who=(game bare text)
if [[ -n $other ]]; then
  cp "$other" "$work/other/tarvik-kxv"
  cp "$build/OnLoad.dat" "$work/other/" 2>/dev/null || true
  who+=(other)
fi
# The executable each name stands for.
program() {
  case $1 in
    game) echo "$work/game/tarvik-kxv" ;;
    other) echo "$work/other/tarvik-kxv" ;;
    bare) echo "$bare" ;;
    text) echo "$text" ;;
  esac
}
mkdir -p -m 700 "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb

# One run of each to warm the caches, not counted.
for w in "${who[@]}"; do
  : >"$work/$w.txt"
  "$probe" 500 "$(program "$w")" >/dev/null
done
for _ in $(seq "$runs"); do
  for w in "${who[@]}"; do "$probe" 500 "$(program "$w")" >>"$work/$w.txt"; done
done

# A column of a file, sorted, read by an awk program that has it in v[1..NR].
sorted_column() {
  cut -d' ' -f"$2" "$1" | sort -g | awk "{ v[NR] = \$1 } END { $3 }"
}
median() { sorted_column "$1" "$2" 'print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2'; }
# The first and third quartiles: the middle half of the runs.
quartiles() { sorted_column "$1" "$2" 'printf "%s to %s", v[int((NR + 3) / 4)], v[int((3 * NR + 3) / 4)]'; }
printf '%-12s %12s %14s %14s\n' "" "mapped (ms)" "painted (ms)" "peak RSS (KiB)"
for w in "${who[@]}"; do
  printf '%-12s %12s %14s %14s\n' "$w" "$(median "$work/$w.txt" 1)" "$(median "$work/$w.txt" 2)" \
    "$(median "$work/$w.txt" 3)"
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
# The goal: the game's first paint within 1.05 times the text window's.
awk -v g="$(median "$work/game.txt" 2)" -v t="$(median "$work/text.txt" 2)" \
    'BEGIN { printf "ratio game/text window: start-up %.3f\n", g / t }'
if [[ -n $other ]]; then
  awk -v g="$(median "$work/game.txt" 2)" -v o="$(median "$work/other.txt" 2)" \
      -v gr="$(median "$work/game.txt" 3)" -v or="$(median "$work/other.txt" 3)" \
      'BEGIN { printf "game - other: start-up %+.1f ms, peak RSS %+d KiB\n", g - o, gr - or }'
  echo "painted, middle half of the runs: other $(quartiles "$work/other.txt" 2) ms"
fi
echo "painted, middle half of the runs: game $(quartiles "$work/game.txt" 2) ms, bare window $(quartiles "$work/bare.txt" 2) ms, text window $(quartiles "$work/text.txt" 2) ms"
echo "shared libraries: game $(ldd "$game" | wc -l), bare window $(ldd "$bare" | wc -l)"
