add_test(NAME install_and_start
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_test.sh ${CMAKE_BINARY_DIR} ${RANQUA_SOUNDTRACK})
set_tests_properties(install_and_start PROPERTIES LABELS "e2e" TIMEOUT 300)

# The set-up of ./play and ./test, as a normal user: nothing to install means no sudo, no apt.
add_test(NAME setup_is_silent COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/setup_test.sh)
set_tests_properties(setup_is_silent PROPERTIES LABELS "setup" TIMEOUT 120)

# The Debian package: built from a clean copy of the tree, checked by lintian, unpacked and
# played. Once is enough: the sanitizer tree leaves it out. The longest test starts first.
if(NOT RANQUA_SANITIZE)
  add_test(NAME debian_package
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/package_test.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  set_tests_properties(debian_package PROPERTIES LABELS "e2e;package" TIMEOUT 1500
                       SKIP_RETURN_CODE 77 COST 1000)
endif()
