# shellcheck shell=bash
# Step reporting for the set-up: one short line per step, details in a log file.
# Expects OSTRABEL_LOG_DIR to be set by the caller.

step_t0=0
step_name=""
step_log=/dev/null

# step NAME: starts a step; its command output goes to $OSTRABEL_LOG_DIR/NAME.log.
step() {
  step_name=$1
  step_t0=$SECONDS
  step_log="$OSTRABEL_LOG_DIR/${step_name// /-}.log"
  : >"$step_log"
}

# done_step TEXT: ends the current step with one line.
done_step() {
  local took=$((SECONDS - step_t0))
  if ((took > 0)); then
    printf 'setup: %-30s %s (%d s)\n' "$step_name" "$1" "$took"
  else
    printf 'setup: %-30s %s\n' "$step_name" "$1"
  fi
}

# logged CMD...: runs a command with its output in the step's log; on failure
# shows the log's tail and stops the set-up.
logged() {
  if ! "$@" >>"$step_log" 2>&1; then
    printf 'setup: %-30s FAILED: %s\n' "$step_name" "$*" >&2
    tail -n 30 "$step_log" >&2
    printf 'setup: full log: %s\n' "$step_log" >&2
    exit 1
  fi
}

die() {
  printf 'setup: %s\n' "$*" >&2
  exit 1
}
