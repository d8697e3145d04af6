# Runs a script that must fail and checks how: the script's header names
# the exit status ("# status: N") and a text that the error output must
# contain right after the script's path ("# stderr: :LINE: ...").
file(READ "${SCRIPT}" text)
string(REGEX MATCH "# status: ([0-9]+)" found_status "${text}")
set(expected_status "${CMAKE_MATCH_1}")
string(REGEX MATCH "# stderr: ([^\n]*)" found_stderr "${text}")
set(expected_stderr "${CMAKE_MATCH_1}")
if(expected_status STREQUAL "" OR expected_stderr STREQUAL "")
  message(FATAL_ERROR "${SCRIPT} lacks its '# status:' or '# stderr:' line")
endif()
execute_process(
  COMMAND "${VANTOR}" --script "${SCRIPT}" --desktop 1024x768 --virtual-clock
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
if(NOT status STREQUAL expected_status)
  message(FATAL_ERROR "expected exit status ${expected_status}, found ${status}\nstdout:\n${out}\nstderr:\n${err}")
endif()
string(FIND "${err}" "${SCRIPT}${expected_stderr}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "expected the error output to contain\n${SCRIPT}${expected_stderr}\nfound\n${err}")
endif()
