# e2e.cmake: the end-to-end tests: the real program under a private X server, driven by xdotool.
# Each test starts its own Xvfb (on a free display number), so they can run side by side.
foreach(name game music robust)
  add_test(NAME e2e_${name}
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${name}_test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(e2e_${name} PROPERTIES LABELS e2e TIMEOUT 300)
endforeach()
