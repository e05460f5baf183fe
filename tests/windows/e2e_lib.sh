# What the host-launch scripts under Wine share: starting the stand-in host,
# reading its report, answering dialogs. Sourced; expects $host_exe,
# $driver_exe, $wine_run and a temporary folder $tmp.

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A Linux path as the Windows programs see it (Wine's Z: is the root).
windows_path() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }

field() { sed -n "s/^$1 \{0,1\}//p" "$tmp/host.out" 2>/dev/null | head -n 1; }
has_field() { grep -qs "^$1\( \|\$\)" "$tmp/host.out"; }
wait_field() {  # key [seconds]
  local tries=$(( ${2:-30} * 20 ))
  for ((i = 0; i < tries; i++)); do has_field "$1" && return 0; sleep 0.05; done
  return 1
}

start_host() {  # converter.exe conversion [host options...]
  rm -f "$tmp/host.out"
  # The converters' history in the script's own folder, not the prefix's.
  "$wine_run" "$host_exe" "$(windows_path "$1")" "${@:2}" --local-app-data "$(windows_path "$tmp/datos")" \
    >"$tmp/host.out" 2>"$tmp/host.err" &
  host_pid=$!
  wait_field converter 60 || { fail "the host did not start the converter: $(cat "$tmp/host.out" "$tmp/host.err")"; return 1; }
  converter=$(field converter)
}

# Waits for the host's end; $ended is the converter's exit code, or "timeout".
# (Not in a subshell: the host is this shell's child.)
finish_host() {
  wait "$host_pid" || true
  if has_field finished; then ended=$(field finished); else ended=timeout; fi
}

drive() {  # action [file]; the driver's report in $driven
  # Into a file, not a pipe: Wine's own processes may inherit the output and
  # outlive the driver.
  local status=0
  "$wine_run" "$driver_exe" "$1" "$converter" "${@:2}" >"$tmp/driver.out" 2>&1 || status=$?
  driven=$(cat "$tmp/driver.out")
  [[ $status -eq 0 ]] || { fail "no answer to '$1': $driven"; return 1; }
}

# Confirms the message box; fails unless it says $1 and has one button, $2
# (any label when $2 is empty).
confirm_box() {
  drive aviso || return 1
  local text buttons
  text=$(sed -n 's/^texto //p' <<<"$driven")
  buttons=$(sed -n 's/^botones //p' <<<"$driven")
  [[ "$text" == "$1" ]] || fail "the box says '$text', not '$1'"
  [[ "$buttons" != *"|"* ]] || fail "the box has more than one button: $buttons"
  [[ -z "$2" || "$buttons" == "$2" ]] || fail "the box's button says '$buttons', not '$2'"
}
