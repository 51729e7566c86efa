# Runs the headless scanner on a folder and compares its output with a file.
execute_process(COMMAND ${SCAN} ${FOLDER} OUTPUT_VARIABLE actual RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "vellumin-scan exited with ${result}")
endif()
# The caption names the folder, which depends on where the sources are.
string(REPLACE "${FOLDER}" "FOLDER" actual "${actual}")
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "vellumin-scan printed:\n${actual}\nexpected:\n${expected}")
endif()
