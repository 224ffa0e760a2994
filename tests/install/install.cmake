add_test(NAME install_and_start
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/install_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(install_and_start PROPERTIES LABELS "e2e" TIMEOUT 180 RUN_SERIAL TRUE)
