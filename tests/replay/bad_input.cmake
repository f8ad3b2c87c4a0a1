# A replay tool refuses a bad step with exit status 2, its line and what is
# wrong: the step itself, or the step in the window as the steps before left it.
#   cmake -DTOOL=program [-DFRONT_END=name] -DWORK=folder -P bad_input.cmake
# (FRONT_END: the argument of scripts/replay.sh.)
set(click "{\"op\":\"click\",\"control\":\"Command1\"}\n")
set(press "{\"op\":\"press\",\"control\":\"Command7\"")
set(cases  # steps, and what the tool says of the last one
  "${click}not json" "line 2: not a JSON object"
  "{\"op\":\"fly\"}" "line 1: unknown op \"fly\""
  "{\"op\":\"compare\",\"index\":-1}" "line 1: \"index\" is not a pet's number"
  "{\"op\":\"compare\",\"index\":1}" "line 1: there is no pet 1"
  "${click}{\"op\":\"click\",\"control\":\"Command99\"}" "line 2: unknown control \"Command99\""
  "{\"op\":\"click\",\"control\":\"Text1\"}" "line 1: Text1 is not a button"
  "${click}{\"op\":\"tick\",\"timer\":\"Timer2\"}" "line 2: Timer2 is not running"
  "{\"op\":\"close\",\"window\":\"Form2\"}" "line 1: Form2 is not open"
  "{\"op\":\"close\",\"window\":\"Form1\"}\n{\"op\":\"type\",\"box\":\"Text1\",\"text\":\"1\"}" "line 2: Form1 is closed"
  "${press}}\n{\"op\":\"check\",\"box\":\"Check1\",\"state\":1}" "line 2: a mouse button is down"
  "${press},\"button\":\"right\"}\n{\"op\":\"release\",\"control\":\"Command7\",\"button\":\"middle\"}"
    "line 2: that mouse button is not down")
# The page shows a plan before any plan step, and none for a growth below 0:
# "应用" is there only for a plan of the planner set.
if(FRONT_END STREQUAL "web")
  list(APPEND cases "{\"op\":\"apply\"}" "line 1: no plan is shown"
       "{\"op\":\"type\",\"box\":\"Text19\",\"text\":\"-1\"}\n{\"op\":\"plan\",\"mode\":\"unspent\",\"target\":\"sd\"}\n{\"op\":\"apply\"}"
       "line 3: no plan is shown")
endif()
file(MAKE_DIRECTORY ${WORK})
while(cases)
  list(POP_FRONT cases steps refusal)
  file(WRITE ${WORK}/bad.jsonl "${steps}\n")
  execute_process(COMMAND ${TOOL} ${FRONT_END} INPUT_FILE ${WORK}/bad.jsonl OUTPUT_QUIET ERROR_VARIABLE err
                  RESULT_VARIABLE rc)
  string(FIND "${err}" ": ${refusal}\n" at)
  if(NOT rc EQUAL 2 OR at EQUAL -1)
    message(FATAL_ERROR "for ${steps}: exit ${rc}, stderr: ${err}")
  endif()
endwhile()

# An answer it cannot write (a full disk) ends it with status 1 and says so,
# instead of playing on with the answers lost.
if(EXISTS /dev/full)
  file(WRITE ${WORK}/good.jsonl "${click}")
  execute_process(COMMAND ${TOOL} ${FRONT_END} INPUT_FILE ${WORK}/good.jsonl OUTPUT_FILE /dev/full ERROR_VARIABLE err
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 1 OR NOT err MATCHES "cannot write standard output: ")
    message(FATAL_ERROR "writing to a full disk: exit ${rc}, stderr: ${err}")
  endif()
endif()
