# Runs natcall on each row of cases.txt and compares its standard output,
# standard error and exit status with the row's. A row:
#   $ ARG ARG ...      arguments, split at spaces; '...' keeps spaces; <FILE is standard input
#   > line             expected standard output, one line each
#   ! line             expected standard error
#   = N                expected exit status
# @DIR@ and @PARTIAL@ stand for this directory and the partial library.
# Usage: cmake -DNATCALL=... -DEMULATOR=... -DPARTIAL=... -DDIR=... -P run_cases.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${DIR}/cases.txt table)
string(REPLACE "@DIR@" "${DIR}" table "${table}")
string(REPLACE "@PARTIAL@" "${PARTIAL}" table "${table}")
# One list item per line: the texts' ';' and brackets would split or join items.
string(REPLACE ";" "@SC@" table "${table}")
string(REPLACE "[" "@LB@" table "${table}")
string(REPLACE "]" "@RB@" table "${table}")
string(REPLACE "\n" ";" lines "${table}\n$ ")

function(unescape text out)
  string(REPLACE "@SC@" ";" text "${text}")
  string(REPLACE "@LB@" "[" text "${text}")
  string(REPLACE "@RB@" "]" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(rows 0)
set(failed 0)
set(command "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[>!=]")
    unescape("${line}" line)
    string(APPEND expected "${line}\n")
  elseif(line MATCHES "^\\$ (.*)$")
    set(next "${CMAKE_MATCH_1}")
    if(NOT command STREQUAL "")
      # Arguments: quoted '...' or runs of non-blanks; the item separator is escaped inside them.
      string(REGEX MATCHALL "'[^']*'|[^ ]+" tokens "${command}")
      set(args "")
      set(input "")
      foreach(token IN LISTS tokens)
        unescape("${token}" token)
        string(REPLACE ";" "\\;" token "${token}")
        if(token MATCHES "^'(.*)'$")
          list(APPEND args "${CMAKE_MATCH_1}")
        elseif(token MATCHES "^<(.+)$")
          set(input INPUT_FILE "${CMAKE_MATCH_1}")
        else()
          list(APPEND args "${token}")
        endif()
      endforeach()
      execute_process(COMMAND ${EMULATOR} ${NATCALL} ${args} ${input}
        OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
      string(REGEX REPLACE "([^\n]*)\n" "> \\1\n" out "${out}")
      string(REGEX REPLACE "([^\n]*)\n" "! \\1\n" err "${err}")
      # Trailing blanks are not part of a row.
      string(REGEX REPLACE " +\n" "\n" actual "${out}${err}= ${status}\n")
      string(REGEX REPLACE " +\n" "\n" expected "${expected}")
      math(EXPR rows "${rows} + 1")
      if(NOT actual STREQUAL expected)
        math(EXPR failed "${failed} + 1")
        unescape("${command}" command)
        message("row `$ ${command}`\n--- expected\n${expected}--- actual\n${actual}")
      endif()
    endif()
    set(command "${next}")
    set(expected "")
  elseif(NOT line MATCHES "^(#.*)?$")
    message(FATAL_ERROR "cases.txt: unexpected line: ${line}")
  endif()
endforeach()
if(failed GREATER 0)
  message(FATAL_ERROR "${failed} of ${rows} rows failed")
endif()
message("${rows} rows passed")
