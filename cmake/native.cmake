# Native Linux build: the portable code and its unit tests on fakes.
find_package(GTest REQUIRED)

add_library(kelvane_fakes STATIC tests/fakes/fake_file_system.cpp tools/demo_icq/demo_icq.cpp)
target_link_libraries(kelvane_fakes PUBLIC kelvane_core)

add_executable(kelvane_unit_tests
  engine/generators_test.cpp
  engine/marking_test.cpp
  engine/tweak_run_test.cpp
  install/installation_search_test.cpp
  install/version_check_test.cpp
  protect/hosts_block_test.cpp
  protect/reset_protection_test.cpp
  settings/settings_file_test.cpp
  ui/main_window_test.cpp
  app/cli_test.cpp
  tests/contract/file_system_contract.cpp
  tests/contract/fake_file_system_contract_test.cpp
)
target_compile_definitions(kelvane_unit_tests PRIVATE
  KELVANE_TEMPLATE_DIR="${CMAKE_SOURCE_DIR}/templates/")
target_link_libraries(kelvane_unit_tests PRIVATE kelvane_fakes GTest::gtest_main)
add_test(NAME unit COMMAND kelvane_unit_tests)
