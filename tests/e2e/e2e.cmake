# e2e.cmake: the end-to-end tests: the real program under a private X server, driven by xdotool,
# and once with no display at all.
# Each X test starts its own Xvfb (on a free display number), so they can run side by side.
foreach(name game music robust)
  add_test(NAME e2e_${name}
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${name}_test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(e2e_${name} PROPERTIES LABELS e2e TIMEOUT 300)
endforeach()
# The same game on a larger screen: every click a physical one, scaled by 1.8.
add_test(NAME e2e_game_1920x1080
  COMMAND env E2E_SCREEN=1920x1080 bash ${CMAKE_CURRENT_LIST_DIR}/game_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_game_1920x1080 PROPERTIES LABELS e2e TIMEOUT 300)
# The game draws on 16-, 24- and 30-bit screens.
add_test(NAME e2e_depths
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/depth_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_depths PROPERTIES LABELS e2e TIMEOUT 300)

# With no display at all the program says so in its own one line (the display libraries it
# probes say nothing) and fails, instead of running invisibly.
add_test(NAME no_display_is_an_error
  COMMAND sh -c "out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR \
    HOME=/nonexistent timeout -s KILL 20 \"$0\" 2>&1); code=$?; echo \"$out\"; \
    [ $code -ne 0 ] && [ $code -ne 137 ] && \
    [ \"$out\" = 'ranqua: no display found (is DISPLAY or WAYLAND_DISPLAY set?)' ]"
    $<TARGET_FILE:ranqua>)
set_tests_properties(no_display_is_an_error PROPERTIES LABELS "e2e" TIMEOUT 60)
