# petcalc-replay refuses a bad step with exit status 2 and names its line.
foreach(case "{\"op\":\"click\",\"control\":\"Command99\"}" "{\"op\":\"fly\"}" "not json"
             "{\"op\":\"tick\",\"timer\":\"Timer2\"}" "{\"op\":\"click\",\"control\":\"Text1\"}")
  file(MAKE_DIRECTORY ${WORK})
  file(WRITE ${WORK}/bad.jsonl "{\"op\":\"click\",\"control\":\"Command1\"}\n${case}\n")
  execute_process(COMMAND ${TOOL} INPUT_FILE ${WORK}/bad.jsonl OUTPUT_VARIABLE out ERROR_VARIABLE err
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 2 OR NOT err MATCHES "line 2: ")
    message(FATAL_ERROR "for ${case}: exit ${rc}, stderr: ${err}")
  endif()
endforeach()

# An answer it cannot write (a full disk) ends it with status 1 and says so,
# instead of playing on with the answers lost.
if(EXISTS /dev/full)
  file(WRITE ${WORK}/good.jsonl "{\"op\":\"click\",\"control\":\"Command1\"}\n")
  execute_process(COMMAND ${TOOL} INPUT_FILE ${WORK}/good.jsonl OUTPUT_FILE /dev/full ERROR_VARIABLE err
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 1 OR NOT err MATCHES "cannot write standard output: ")
    message(FATAL_ERROR "writing to a full disk: exit ${rc}, stderr: ${err}")
  endif()
endif()
