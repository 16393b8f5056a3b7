#!/usr/bin/env bash
# Drives `natcall -f -` through pipes as a program that waits for each answer
# would: each row writes an atom (a '^' in it splits the write in two, 0.2 s
# apart) and its answer must arrive within 10 s, before the next row. Then a
# last atom without a line end and the end of input: its answer, and the
# status of a run with a false atom.
# Usage: coprocess_test.sh [EMULATOR] NATCALL
set -u
coproc natcall { "$@" -f - 2>&1; }
# bash closes a coprocess's descriptors once it has ended: its last answer
# is read through a copy.
exec {out}<&"${natcall[0]}"
in=${natcall[1]} pid=$natcall_PID

answer() {
  local got
  IFS= read -r -t 10 got <&"$out" || { echo "row '$1': no answer within 10 s"; exit 1; }
  [[ $got == "$2" ]] || { echo "row '$1': got '$got', expected '$2'"; exit 1; }
}

rows=0
while IFS='|' read -r atom expected; do
  atom=${atom%% *} expected=${expected# }
  printf '%s' "${atom%%^*}" >&"$in"
  [[ $atom == *^* ]] && sleep 0.2 && printf '%s' "${atom#*^}" >&"$in"
  printf '\n' >&"$in"
  answer "$atom" "$expected"
  ((++rows))
done <<'ROWS'
addNat(3,4,Z)             | Z = 7
d2bNat(5,B)               | B = "101"
multNat(6,^7,Z)           | Z = 42
addNat(3,4,8)             | false
ROWS
printf 'addNat(1,1,Z)' >&"$in"
exec {in}>&-
answer "addNat(1,1,Z) at the end of input" "Z = 2"
wait "$pid"
status=$?
((status == 1)) || { echo "natcall ended with status $status, not 1"; exit 1; }
echo "$((rows + 1)) rows passed"
