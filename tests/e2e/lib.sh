# Helpers for driving kartyas in a real terminal emulator (tmux on a private socket).
# Each test starts the program as the only command of a fresh tmux session, so what the pane
# shows is exactly what the program drew; a wrapper records the exit status and the terminal
# settings before and after.

BIN=${BIN:?BIN must name the kartyas executable}
WORK=$(mktemp -d)
# Each session gets a tmux server of its own: a server that is still shutting down can never
# take the next session with it.
SERVERS=0
TMUX_CMD=()
new_server() {
  [ ${#TMUX_CMD[@]} -gt 0 ] && "${TMUX_CMD[@]}" kill-server >/dev/null 2>&1
  SERVERS=$((SERVERS + 1))
  TMUX_CMD=(tmux -L "kartyas-e2e-$$-$SERVERS" -f "$WORK/tmux.conf")
}
printf 'set -g status off\nset -g default-terminal screen\n' >"$WORK/tmux.conf"
PASSED=0
FAILED=0

cleanup() {
  [ ${#TMUX_CMD[@]} -gt 0 ] && "${TMUX_CMD[@]}" kill-server >/dev/null 2>&1
  sleep 0.2
  rm -rf "$WORK" 2>/dev/null
  rm -f "${TMUX_TMPDIR:-/tmp}/tmux-$(id -u)/kartyas-e2e-$$-"* 2>/dev/null
}
trap cleanup EXIT

t() { "${TMUX_CMD[@]}" "$@"; }

# start COLS ROWS [ENV...]: runs kartyas in a new session of that size.
start() {
  local cols=$1 rows=$2
  shift 2
  new_server
  rm -f "$WORK/status" "$WORK/before" "$WORK/after"
  # A trap (not an ignore) keeps the wrapper alive through Ctrl+C while the program, which gets
  # default signal actions across exec, is interrupted.
  cat >"$WORK/run.sh" <<RUN
trap : INT QUIT TERM HUP
stty -g >'$WORK/before'
env $* '$BIN'
echo \$? >'$WORK/status'
stty -g >'$WORK/after'
sleep 600
RUN
  t new-session -d -s main -x "$cols" -y "$rows" "bash '$WORK/run.sh'"
  wait_for_screen 'K' || true
}

# -N keeps trailing blanks, which the listings end with.
screen() { t capture-pane -p -N -t main; }
row() { screen | sed -n "$1p"; }
cursor() { t display -p -t main '#{cursor_x},#{cursor_y}'; }
keys() { t send-keys -t main "$@"; }

# wait_for_screen TEXT: until the pane shows TEXT (up to 10 s).
wait_for_screen() {
  local i
  for i in $(seq 100); do
    screen | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  return 1
}

# wait_for_status: until the program has ended; prints its exit status.
wait_for_status() {
  local i
  for i in $(seq 100); do
    if [ -s "$WORK/status" ] && [ -s "$WORK/after" ]; then
      cat "$WORK/status"
      return 0
    fi
    sleep 0.1
  done
  echo "none"
}

settings_unchanged() { [ -s "$WORK/before" ] && cmp -s "$WORK/before" "$WORK/after"; }

# check NAME COMMAND...: one assertion.
check() {
  local name=$1
  shift
  if "$@"; then
    PASSED=$((PASSED + 1))
  else
    FAILED=$((FAILED + 1))
    echo "FAIL: $name"
    echo "--- screen:"
    screen | cat -A | sed 's/^/  /'
  fi
}

equals() { [ "$1" == "$2" ] || { echo "  expected: $(printf %q "$2")"; echo "  got:      $(printf %q "$1")"; return 1; }; }

finish() {
  echo "$PASSED passed, $FAILED failed"
  [ "$FAILED" -eq 0 ]
}
