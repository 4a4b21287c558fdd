# Regenerates the method list and fails when the checked-in docs/methods.md differs.
execute_process(COMMAND ${GENERATOR} doc ${CATALOGUE} ${FRESH} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "remote-gen failed (${status})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${CHECKED_IN} ${FRESH} RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "docs/methods.md is out of date; rebuild the target remote_methods_doc")
endif()
