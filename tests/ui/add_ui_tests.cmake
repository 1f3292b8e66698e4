# Writes the ctest file that gives each Qt Test class of ui_tests its own test, from the
# program's own list ("ui_tests --classes"), so that a new class needs no edit here.
# Run after each build of ui_tests with -DPROGRAM=... -DOUTPUT=...
execute_process(COMMAND ${PROGRAM} --classes OUTPUT_VARIABLE classes RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --classes failed")
endif()
string(REPLACE "\n" ";" classes "${classes}")
set(content "")
foreach(class IN LISTS classes)
  if(class)
    string(APPEND content "add_test(ui.${class} \"${PROGRAM}\" ${class})\n"
           "set_tests_properties(ui.${class} PROPERTIES ENVIRONMENT \"QT_QPA_PLATFORM=offscreen;QTEST_DISABLE_STACK_DUMP=1\" TIMEOUT 300)\n")
  endif()
endforeach()
file(WRITE ${OUTPUT} "${content}")
