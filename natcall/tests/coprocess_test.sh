#!/usr/bin/env bash
# Drives `natcall -f -` through pipes: each row's atom ('^' splits the write,
# 0.2 s apart; '$' ends the input) must be answered within 10 s.
# Usage: coprocess_test.sh [EMULATOR] NATCALL
set -u
coproc natcall { "$@" -f - 2>&1; }
# bash closes a coprocess's descriptors when it ends: read through a copy.
exec {out}<&"${natcall[0]}"
in=${natcall[1]} pid=$natcall_PID rows=0
while IFS='|' read -r atom expected; do
  atom=${atom%% *} expected=${expected# } got=''
  text=${atom%'$'}
  printf '%s' "${text%%^*}" >&"$in"
  [[ $text == *^* ]] && sleep 0.2 && printf '%s' "${text#*^}" >&"$in"
  if [[ $atom == *'$' ]]; then exec {in}>&-; else printf '\n' >&"$in"; fi
  IFS= read -r -t 10 got <&"$out" && [[ $got == "$expected" ]] || { echo "row '$atom': got '$got' (within 10 s), expected '$expected'"; exit 1; }
  ((++rows))
done <<'ROWS'
addNat(3,4,Z)             | Z = 7
d2bNat(5,B)               | B = "101"
multNat(6,^7,Z)           | Z = 42
addNat(3,4,8)             | false
addNat(1,1,Z)$            | Z = 2
ROWS
wait "$pid"
status=$?
((status == 1)) && echo "$rows rows passed" || { echo "natcall ended with status $status, not 1"; exit 1; }
