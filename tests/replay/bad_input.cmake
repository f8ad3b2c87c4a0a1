# A replay tool refuses a bad step with exit status 2, its line and what is
# wrong: the step itself, or the step in the window as the steps before left it.
#   cmake -DTOOL=program [-DFRONT_END=name] -DWORK=folder [-DREFUSALS_ONLY=1] -P bad_input.cmake
# (FRONT_END: the argument of scripts/replay.sh.)
set(press "{\"op\":\"press\",\"control\":\"Command7\"")
set(cases  # the steps after a first click, with \n between, and what the last one gets
  "not json" "not a JSON object"
  "{\"op\":\"fly\"}" "unknown op \"fly\""
  "{\"op\":\"click\",\"control\":\"Command99\"}" "unknown control \"Command99\""
  "{\"op\":\"click\",\"control\":\"Text1\"}" "Text1 is not a button"
  "{\"op\":\"tick\",\"timer\":\"Timer2\"}" "Timer2 is not running"
  "{\"op\":\"close\",\"window\":\"Form2\"}" "Form2 is not open"
  "{\"op\":\"close\",\"window\":\"Form1\"}\n{\"op\":\"type\",\"box\":\"Text1\",\"text\":\"1\"}" "Form1 is closed"
  "${press}}\n{\"op\":\"check\",\"box\":\"Check1\",\"state\":1}" "a mouse button is down"
  "${press},\"button\":\"right\"}\n{\"op\":\"release\",\"control\":\"Command7\",\"button\":\"middle\"}"
    "that mouse button is not down")
file(MAKE_DIRECTORY ${WORK})
list(LENGTH cases count)
math(EXPR last "${count} - 1")
foreach(k RANGE 0 ${last} 2)
  math(EXPR k1 "${k} + 1")
  list(GET cases ${k} steps)
  list(GET cases ${k1} refusal)
  string(REGEX MATCHALL "\n" breaks "${steps}")
  list(LENGTH breaks line)
  math(EXPR line "${line} + 2")
  file(WRITE ${WORK}/bad.jsonl "{\"op\":\"click\",\"control\":\"Command1\"}\n${steps}\n")
  execute_process(COMMAND ${TOOL} ${FRONT_END} INPUT_FILE ${WORK}/bad.jsonl OUTPUT_VARIABLE out ERROR_VARIABLE err
                  RESULT_VARIABLE rc)
  string(REGEX MATCHALL "\n" answers "${out}")
  list(LENGTH answers answers)
  math(EXPR played "${line} - 1")
  if(NOT rc EQUAL 2 OR NOT err MATCHES ": line ${line}: ([^\n]*)\n$" OR NOT CMAKE_MATCH_1 STREQUAL refusal
     OR NOT answers EQUAL played)
    message(FATAL_ERROR "for ${steps}: exit ${rc}, ${answers} state lines, stderr: ${err}")
  endif()
endforeach()

# An answer it cannot write (a full disk) ends it with status 1 and says so,
# instead of playing on with the answers lost.
if(EXISTS /dev/full AND NOT REFUSALS_ONLY)
  file(WRITE ${WORK}/good.jsonl "{\"op\":\"click\",\"control\":\"Command1\"}\n")
  execute_process(COMMAND ${TOOL} ${FRONT_END} INPUT_FILE ${WORK}/good.jsonl OUTPUT_FILE /dev/full ERROR_VARIABLE err
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 1 OR NOT err MATCHES "cannot write standard output: ")
    message(FATAL_ERROR "writing to a full disk: exit ${rc}, stderr: ${err}")
  endif()
endif()
