#!/usr/bin/env bash
# Runs natcall on each row of cases.txt and compares its standard output,
# standard error and exit status with the row's. A row:
#   $ ARG ARG ...      arguments, split at spaces; '...' keeps spaces; <FILE is standard input;
#                      >FILE is standard output; |head reads its first line and closes the
#                      pipe; sigpipe:ignore starts natcall with SIGPIPE ignored
#   > line             expected standard output, one line each
#   ~ N REGEX          N more lines of standard output that match REGEX (extended, whole line)
#   ! line             expected standard error
#   = N                expected exit status
# @DIR@ and @PARTIAL@ stand for this directory and the partial library,
# @BIG@ for a file of 100000 atoms, whose answers fill any pipe's buffer.
# Usage: run_cases.sh DIR PARTIAL WORK [EMULATOR] NATCALL
set -u
dir=$1 partial=$2 work=$3
shift 3
natcall=("$@")
mkdir -p "$work"
big=$work/big.txt
seq 1 100000 | sed 's/.*/addNat(&,1,Z)/' >"$big"
rows=0 failed=0 command='' expected=''

# Prints the output in the rows' form: '> line' for each line that no '~'
# row of the expectation matches, then '~ COUNT REGEX' for each such row.
summarize() {
  local line i res=() counts=()
  while IFS= read -r line; do
    [[ $line =~ ^'~ '[0-9]+' '(.*)$ ]] && res+=("${BASH_REMATCH[1]}") counts+=(0)
  done <<<"$expected"
  while IFS= read -r line; do
    for i in "${!res[@]}"; do
      [[ $line =~ ^(${res[i]})$ ]] && ((++counts[i])) && continue 2
    done
    printf '> %s\n' "$line"
  done <"$1"
  for i in "${!res[@]}"; do printf '~ %s %s\n' "${counts[i]}" "${res[i]}"; done
}

check_row() {
  local line=${command//@DIR@/$dir} args=() input=/dev/null output=$work/out head='' sigpipe='' token
  line=${line//@PARTIAL@/$partial} line=${line//@BIG@/$big}
  local token_re="^ *('[^']*'|[^ ]+)(.*)$"
  while [[ $line =~ $token_re ]]; do
    token=${BASH_REMATCH[1]} line=${BASH_REMATCH[2]}
    case $token in
      \'*\') args+=("${token:1:${#token}-2}") ;;
      \<*) input=${token:1} ;;
      \>*) output=${token:1} ;;
      '|head') head=1 ;;
      sigpipe:ignore) sigpipe=ignore ;;
      *) args+=("$token") ;;
    esac
  done
  : >"$work/out"
  (
    [[ -z $sigpipe ]] || trap '' PIPE
    if [[ -z $head ]]; then
      exec "${natcall[@]}" "${args[@]}" <"$input" >"$output" 2>"$work/err"
    fi
    "${natcall[@]}" "${args[@]}" <"$input" 2>"$work/err" | head -n 1 >"$output"
    exit "${PIPESTATUS[0]}"
  )
  local status=$? actual want=${expected//@DIR@/$dir}
  actual=$(summarize "$work/out"; sed 's/^/! /' "$work/err"; echo "= $status")
  ((++rows))
  # Trailing blanks are not part of a row.
  if [[ "$(sed 's/ *$//' <<<"$actual")" != "$(sed 's/ *$//' <<<"${want//@PARTIAL@/$partial}")" ]]; then
    ((++failed))
    printf 'row `$ %s`\n--- expected\n%s\n--- actual\n%s\n' "$command" "$expected" "$actual"
  fi
}

while IFS= read -r line || [[ -n $line ]]; do
  case $line in
    '$ '*) [[ -z $command ]] || check_row; command=${line:2} expected='' ;;
    [\>\~\!=]*) expected+=${expected:+$'\n'}$line ;;
    '' | '#'*) ;;
    *) echo "cases.txt: unexpected line: $line"; exit 1 ;;
  esac
done <"$dir/cases.txt"
[[ -z $command ]] || check_row
echo "$((rows - failed)) of $rows rows passed"
((failed == 0))
