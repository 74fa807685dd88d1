#!/usr/bin/env bash
# Benchmark of kartyas on this machine: terminal output per deal step, write calls per step,
# wake-ups while waiting for a key, and a whole transcript run against cat of the same text.
# Needs tmux, strace and /usr/bin/time. Usage: bench/run.sh [path/to/kartyas]
set -euo pipefail
BIN=$(realpath "${1:-build/default/app/kartyas}")
WORK=$(mktemp -d)
SOCK="kartyas-bench-$$"
T=(tmux -L "$SOCK" -f "$WORK/tmux.conf")
printf 'set -g status off\nset -g default-terminal screen\n' >"$WORK/tmux.conf"
trap '"${T[@]}" kill-server 2>/dev/null; rm -rf "$WORK"' EXIT
export LC_ALL=C.UTF-8

wait_for() {  # wait_for FILE-OR-PATTERN-COMMAND
  for _ in $(seq 200); do eval "$1" && return 0; sleep 0.05; done
  echo "timed out: $1" >&2
  return 1
}

# ---- 1 and 2: bytes and write calls per deal step at 80x25 ----------------------------------
# The program runs under strace in a real terminal; every blocking poll is a key wait, so the
# writes between two of them are one step's output.
"${T[@]}" new-session -d -s b -x 80 -y 25 \
  "strace -o '$WORK/trace' -e trace=write,poll -e signal=none '$BIN'; sleep 60"
wait_for "grep -q 'poll(.*, -1' '$WORK/trace' 2>/dev/null"
for _ in 1 2 3 4 5 6; do
  "${T[@]}" send-keys -t b x
  sleep 0.3
done
sleep 0.3
"${T[@]}" kill-server

# Each step's text as the program writes it: its 14 lines in UTF-8, each with CR LF.
"$BIN" </dev/null >"$WORK/transcript.txt"
step_text_bytes() {  # step number 1..32
  local first=$((14 + ($1 - 1) * 14 + 1))
  sed -n "${first},$((first + 13))p" "$WORK/transcript.txt" | awk '{ n += length($0) + 2 } END { print n }' LC_ALL=C
}

awk '
  /^write\(1,/ { n = $NF; bytes[wait] += n; calls[wait]++ }
  /^poll\(.*, -1\)/ { wait++ }
  END { for (s = 2; s <= 6; s++) printf "%d %d %d\n", s, bytes[s - 1], calls[s - 1] }
' "$WORK/trace" >"$WORK/steps"

echo "1. Bytes written to the terminal per deal step (80x25), against the step's UTF-8 text"
echo "   step  written  text  ratio   | 2. write calls"
max_ratio=0
max_calls=0
while read -r step written calls; do
  text=$(step_text_bytes "$step")
  ratio=$(awk -v a="$written" -v b="$text" 'BEGIN { printf "%.3f", a / b }')
  printf '   %4d  %7d  %4d  %s   | %d\n' "$step" "$written" "$text" "$ratio" "$calls"
  max_ratio=$(awk -v a="$ratio" -v b="$max_ratio" 'BEGIN { print (a > b ? a : b) }')
  [ "$calls" -gt "$max_calls" ] && max_calls=$calls
done <"$WORK/steps"
echo "   largest ratio $max_ratio (target <= 1.10); most write calls in a step $max_calls (target <= 2)"

# ---- 3: wake-ups during a 3-second key wait ---------------------------------------------------
"${T[@]}" new-session -d -s w -x 80 -y 25 "'$BIN'; sleep 60"
wait_for "pgrep -x kartyas >/dev/null"
pid=$(pgrep -nx kartyas)
sleep 0.5  # the first step is on the screen and the program waits
switches() { awk '/ctxt_switches/ { n += $2 } END { print n }' "/proc/$pid/status"; }
before=$(switches)
sleep 3
after=$(switches)
"${T[@]}" kill-server
echo "3. Wake-ups (voluntary + involuntary context switches) during a 3 s key wait: $((after - before)) (target <= 3)"

# ---- 4: whole transcript run against cat of the same text -----------------------------------
runs=21
ns() { date +%s%N; }
prog_times=()
cat_times=()
for _ in $(seq $runs); do
  t0=$(ns); "$BIN" </dev/null >/dev/null; t1=$(ns)
  cat "$WORK/transcript.txt" >/dev/null; t2=$(ns)
  prog_times+=($((t1 - t0)))
  cat_times+=($((t2 - t1)))
done
median() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
mp=$(median "${prog_times[@]}")
mc=$(median "${cat_times[@]}")
echo "4. Transcript run (kartyas </dev/null >/dev/null) against cat of the same text, median of $runs alternating runs:"
awk -v p="$mp" -v c="$mc" 'BEGIN { printf "   kartyas %.2f ms, cat %.2f ms, ratio %.2f (target <= 2.0)\n", p / 1e6, c / 1e6, p / c }'

rss() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1; }
rp=$(rss "$BIN" </dev/null)
rc=$(rss cat "$WORK/transcript.txt")
awk -v p="$rp" -v c="$rc" 'BEGIN { printf "   peak resident memory: kartyas %d KiB, cat %d KiB, ratio %.2f (target <= 2.0)\n", p, c, p / c }'
