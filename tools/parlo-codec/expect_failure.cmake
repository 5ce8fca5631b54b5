# Runs TOOL with ARGS ('|'-separated) and passes when it fails with stderr matching EXPECT.
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${TOOL} ${args} RESULT_VARIABLE status ERROR_VARIABLE errors)
if(status EQUAL 0)
  message(FATAL_ERROR "expected a failure, got exit status 0")
endif()
if(NOT errors MATCHES "${EXPECT}")
  message(FATAL_ERROR "stderr does not match '${EXPECT}':\n${errors}")
endif()
