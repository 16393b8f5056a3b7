# Types at natcall's prompt in a real terminal: tmux runs natcall in a
# detached session of its own server; each row waits for the empty prompt,
# sends its keys and waits until the screen shows the row's text.
# Usage: cmake -DTMUX=... -DNATCALL=... -DWORK=... -P prompt_test.cmake
cmake_minimum_required(VERSION 3.25)

# A row: the keys, as tmux send-keys reads them (a word that names no key
# is typed as it is), then '|' and what the screen must then show (a
# regular expression). After natcall has ended, the next row starts it
# again in a fresh terminal, with the same home and so the same history;
# the home has no .editrc, so the keys are libedit's own.
set(table [[
addNat(3,4,Z) Enter                       | Z = 7
addNat(1,,Z) Enter                        | line 2, column 10: expected a term
multNat(6,8Z) Left Left BSpace 7, Enter   | Z = 42
Up Left Left Left BSpace 9 Enter          | Z = 54
.list Enter                               | d2bNat/2: ii io oi
.quit Enter                               | natcall ended with status 0
Up Up Enter                               | d2bNat/2: ii io oi
C-d                                       | natcall ended with status 0
]])

set(tmux_command ${TMUX} -S ${WORK}/tmux.socket -f ${WORK}/tmux.conf)
# A server left by an interrupted run goes first.
execute_process(COMMAND ${tmux_command} kill-server OUTPUT_QUIET ERROR_QUIET)
file(REMOVE_RECURSE ${WORK})
# The screen stays readable after natcall has ended.
file(WRITE ${WORK}/tmux.conf "set-option -g remain-on-exit on\n")

function(tmux)
  execute_process(COMMAND ${tmux_command} ${ARGN} OUTPUT_VARIABLE out RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    execute_process(COMMAND ${tmux_command} kill-server)
    message(FATAL_ERROR "tmux ${ARGN} failed (${status})")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# Polls the screen, scrolled-off lines included, for at most ten seconds
# until it matches `pattern`, which `awaited` names in the message.
function(wait_for row pattern awaited)
  string(TIMESTAMP now "%s")
  math(EXPR deadline "${now} + 10")
  while(TRUE)
    tmux(capture-pane -p -J -S - -t ${session})
    if(out MATCHES "${pattern}")
      return()
    endif()
    string(TIMESTAMP now "%s")
    if(now GREATER_EQUAL deadline)
      execute_process(COMMAND ${tmux_command} kill-server)
      message("The screen:\n${out}")
      message(FATAL_ERROR "row `${row}`: no ${awaited} within 10 s")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 0.05)
  endwhile()
endfunction()

set(sessions 0)
set(running FALSE)
string(REGEX MATCHALL "[^\n]+" rows "${table}")
foreach(row IN LISTS rows)
  if(NOT row MATCHES "^(.*[^ ]) +\\| (.+)$")
    message(FATAL_ERROR "row `${row}`: expected KEYS | TEXT")
  endif()
  separate_arguments(keys UNIX_COMMAND "${CMAKE_MATCH_1}")
  set(expected "${CMAKE_MATCH_2}")
  # Each run of natcall has a session of its own, the ended ones staying
  # until the server ends.
  if(NOT running)
    math(EXPR sessions "${sessions} + 1")
    set(session natcall${sessions})
    tmux(new-session -d -s ${session} -x 100 -y 40
      "env -u EDITRC HOME='${WORK}' '${NATCALL}'\necho natcall ended with status $?")
    set(running TRUE)
  endif()
  wait_for("${row}" "(^|\n)natcall> ?\n*$" "empty prompt")
  tmux(send-keys -t ${session} ${keys})
  wait_for("${row}" "${expected}" "`${expected}`")
  if(expected MATCHES "^natcall ended")
    set(running FALSE)
  endif()
endforeach()
tmux(kill-server)
list(LENGTH rows count)
message("${count} rows passed")
