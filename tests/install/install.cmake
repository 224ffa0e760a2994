add_test(NAME install_and_start
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_test.sh ${CMAKE_BINARY_DIR} ${RANQUA_SOUNDTRACK})
set_tests_properties(install_and_start PROPERTIES LABELS "e2e" TIMEOUT 300)

# With no display at all the program says so and fails, instead of running invisibly.
add_test(NAME no_display_is_an_error
  COMMAND sh -c "out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER HOME=/nonexistent \
    timeout -s KILL 20 \"$0\" 2>&1); code=$?; echo \"$out\"; \
    [ $code -ne 0 ] && [ $code -ne 137 ] && echo \"$out\" | grep -q 'no display found'" $<TARGET_FILE:ranqua>)
set_tests_properties(no_display_is_an_error PROPERTIES LABELS "e2e" TIMEOUT 60)
