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
