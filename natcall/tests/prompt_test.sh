#!/usr/bin/env bash
# Types at natcall's prompt in a real terminal: tmux runs natcall in a
# detached session of its own server; each row for natcall's MODE (edit:
# built with libedit; plain: without) waits for the empty prompt, sends its
# keys (as tmux send-keys reads them: a word that names no key is typed as
# it is) and waits until the screen, its lines joined, shows the row's text
# (an extended regular expression). After natcall has ended, the next row
# starts it again in a fresh terminal with the same home, so the same
# history, and its standard output where the row's last column says; the
# home has no .editrc, so the keys are libedit's own.
# Usage: prompt_test.sh TMUX NATCALL WORK MODE
set -u
tmux=("$1" -S "$3/tmux.socket" -f "$3/tmux.conf") natcall=$2 work=$3 mode=$4
"${tmux[@]}" kill-server 2>/dev/null  # a server left by an interrupted run
rm -rf "$work" && mkdir -p "$work" && echo "set-option -g remain-on-exit on" >"$work/tmux.conf"

# Skipped without pseudo-terminals; the probe stays, keeping the server up.
error=$("${tmux[@]}" new-session -d -s probe cat 2>&1) || {
  [[ $error == *"fork failed"* ]] && echo "skipped: no pseudo-terminal ($error)" && exit 77
  echo "tmux: $error" && exit 1; }

# Polls the screen, scrolled-off lines included, for at most ten seconds
# until `$2` holds for it ($1 names the row).
wait_for() {
  for ((i = 0; i < 200; ++i)); do
    "${tmux[@]}" capture-pane -p -J -S - -t "$session" | eval "$2" && return
    sleep 0.05
  done
  echo "row '$1': no $2 within 10 s; the screen:"
  "${tmux[@]}" capture-pane -p -J -S - -t "$session"
  "${tmux[@]}" kill-server
  exit 1
}

sessions=0 running=0
while IFS='|' read -r modes keys expected output; do
  [[ $modes == *"$mode"* ]] || continue
  expected=${expected# } expected=${expected% } output=${output# }
  if ((!running)); then
    session=natcall$((++sessions)) running=1
    "${tmux[@]}" new-session -d -s "$session" -x 100 -y 40 \
      "env -u EDITRC HOME='$work' '$natcall' >${output:-/dev/tty}; echo natcall ended with status \$?" || exit 1
  fi
  wait_for "$keys" "sed '/^\$/d' | tail -n 1 | grep -Eq '^natcall> ?\$'"
  read -ra words <<<"$keys"
  "${tmux[@]}" send-keys -t "$session" "${words[@]}" || exit 1
  wait_for "$keys" "tr '\n' ' ' | grep -Eq -- '$expected'"
  [[ $expected == *"natcall ended"* ]] && running=0
done <<'ROWS'
edit plain | addNat(3,4,Z) Enter                      | Z = 7
edit plain | addNat(1,,Z) Enter                       | line 2, column 10: expected a term
edit       | multNat(6,8Z) Left Left BSpace 7, Enter  | Z = 42
edit       | Up Left Left Left BSpace 9 Enter         | Z = 54
plain      | multNat(6,8 BSpace 7,Z) Enter            | Z = 42
plain      | Up Enter                                 | line 4, column 1: .* found byte 0x1b
edit plain | .list Enter                              | d2bNat/2: ii io oi
edit plain | .quit Enter                              | natcall ended with status 0
edit       | Up Up Enter                              | d2bNat/2: ii io oi
plain      | Up Enter                                 | line 1, column 1: .* found byte 0x1b
edit plain | C-d                                      | natcall ended with status 0
edit plain | addNat(1,2,Z) Enter                      | No space left on device natcall ended with status 2 | /dev/full
edit plain | .list Enter                              | No space left on device natcall ended with status 2 | /dev/full
edit plain | .help Enter                              | No space left on device natcall ended with status 2 | /dev/full
ROWS
"${tmux[@]}" kill-server
echo "$sessions sessions passed"
