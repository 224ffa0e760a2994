set(RANQUA_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/test_main_env.cpp
  ${CMAKE_SOURCE_DIR}/tests/platform_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/startup_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/platform_config_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/platform_surface_test.cpp
)
