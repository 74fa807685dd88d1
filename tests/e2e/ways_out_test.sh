#!/usr/bin/env bash
# Every way out leaves the terminal as it was found: stty -g before and after, in tmux.
set -u
BIN=$1
. "$(dirname "$0")/lib.sh"

pid_of_program() { pgrep -nf "^$BIN\$" || pgrep -nx "$(basename "$BIN")"; }

# ---- Signals at a key wait ----------------------------------------------------------------------

for case in "TERM 143" "HUP 129" "QUIT 131" "INT 130"; do
  set -- $case
  start 80 25
  wait_for_screen "Legrosszabb lapom:Tok Also"
  kill -s "$1" "$(pid_of_program)"
  check "SIG$1 ends with status $2" equals "$(wait_for_status)" "$2"
  check "terminal as found after SIG$1" settings_unchanged
done

# ---- A fault: the error stop, with the terminal given back before its report ----------------

start 80 25
wait_for_screen "Legrosszabb lapom:Tok Also"
kill -s SEGV "$(pid_of_program)"
check "SIGSEGV ends through the error stop" equals "$(wait_for_status)" "216"
check "terminal as found after a fault" settings_unchanged
check "report on the screen" wait_for_screen "Runtime error 216 at \$"

# ---- Standard output a pipe that closes early, keys from the terminal -------------------------

start 80 25 "BASH_ENV=" bash -c "'set -o pipefail; \"$BIN\" | head -n 3 >/dev/null'"
sleep 1
keys x  # the next step's output meets the closed pipe
check "ends by itself on the first failed write" equals "$(wait_for_status)" "141"
check "terminal as found after a broken pipe" settings_unchanged

# ---- Ctrl+Z and fg in an interactive shell ---------------------------------------------------

new_server
t new-session -d -s main -x 80 -y 25 "bash --norc --noprofile -i"
sleep 0.5
keys "stty -g >'$WORK/before'; PS1='$ '" Enter
sleep 0.3
keys "clear; '$BIN'" Enter
wait_for_screen "Legrosszabb lapom:Tok Also"
keys C-z
wait_for_screen "Stopped"
keys "stty -g >'$WORK/during'" Enter
sleep 0.5
check "while stopped the settings are the original ones" cmp -s "$WORK/before" "$WORK/during"
keys "fg" Enter
sleep 0.5
keys q
wait_for_screen "Kihúzott kártya:Tok Kiraly"
check "after fg keys are read again, without echo" equals "$(screen | grep -c '^q')" "0"
check "after fg nothing is cleared: the shell's lines stay" wait_for_screen "Stopped"
keys -l "$(printf 'k%.0s' $(seq 33))"
wait_for_screen "Kártyakeverés"
keys "stty -g >'$WORK/after'" Enter
sleep 0.5
check "terminal as found after Ctrl+Z, fg and a normal end" cmp -s "$WORK/before" "$WORK/after"

# ---- Terminal sizes, TERM unset or dumb -----------------------------------------------------------

run_whole() {  # COLS ROWS [ENV...]: 34 keys, status 0, settings as found
  local cols=$1 rows=$2
  start "$@"
  sleep 0.5
  keys -l "$(printf 'n%.0s' $(seq 34))"
  check "${cols}x${rows} $* ends with status 0" equals "$(wait_for_status)" "0"
  check "${cols}x${rows} $* leaves the terminal as found" settings_unchanged
}

run_whole 1 1
run_whole 10 3
run_whole 300 100
run_whole 80 25 "TERM=dumb"
run_whole 80 25 "-u TERM"

# A resize after start-up changes nothing in the window and breaks nothing.
start 80 25
wait_for_screen "Legrosszabb lapom:Tok Also"
t resize-window -t main -x 40 -y 10
keys x
sleep 0.3
t resize-window -t main -x 120 -y 40
keys -l "$(printf 'r%.0s' $(seq 33))"
check "resized twice, the run still ends with status 0" equals "$(wait_for_status)" "0"
check "terminal as found after resizes" settings_unchanged

# Nothing is written outside the window: a line longer than the screen is cut, not wrapped.
start 10 3
wait_for_screen "Legrosszab"
# The worst card's line, the step's empty line, and the cursor's row.
check "10x3 after step 1: the worst card cut at 10 columns" equals "$(row 1)" "Legrosszab"
check "10x3 after step 1: no wrapped remainder" equals "$(row 2)$(row 3)" ""
check "10x3 after step 1: cursor on the last row" equals "$(cursor)" "0,2"

finish
