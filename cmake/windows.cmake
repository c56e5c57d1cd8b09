# Windows x86_64 build: the product, its tools and the tests that run under Wine.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
set(static_runtime -static -static-libgcc -static-libstdc++)
# One small file for the user: unused code dropped, symbols stripped.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections -s)
# The same sources give the same bytes wherever and whenever they are built: no link time in the
# PE header, no build folder in the code.
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
add_link_options(-Wl,--no-insert-timestamp)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR} -I${CMAKE_SOURCE_DIR}/app")

add_library(kelvane_win32 STATIC
  platform/win32/file_system.cpp
  platform/win32/file_version.cpp
  platform/win32/path_names.cpp
  platform/win32/process.cpp
  platform/win32/profile.cpp
  platform/win32/registry.cpp
  platform/win32/resources.cpp
  platform/win32/run_lock.cpp
  platform/win32/system_info.cpp
  platform/win32/system_library.cpp
  platform/win32/text.cpp
)
target_link_libraries(kelvane_win32 PUBLIC kelvane_core)
target_compile_definitions(kelvane_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                               _WIN32_WINNT=0x0601)

add_library(kelvane_view STATIC
  ui/win32/control_factory.cpp
  ui/win32/dpi.cpp
  ui/win32/file_chooser.cpp
  ui/win32/info_window_view.cpp
  ui/win32/main_window_view.cpp
  ui/win32/marks.cpp
  ui/win32/open_address.cpp
)
target_link_libraries(kelvane_view PUBLIC kelvane_win32 comctl32 ole32 oleaut32 uuid)

add_executable(kelvane WIN32 app/gui_main.cpp app/kelvane.rc)
target_link_libraries(kelvane PRIVATE kelvane_view ${static_runtime} -municode)

add_executable(kelvane-cli app/cli_main.cpp app/kelvane-cli.rc)
target_link_libraries(kelvane-cli PRIVATE kelvane_win32 ${static_runtime} -municode)

# The demo ICQ installation: two stub programs carrying real version resources, and the
# tool that lays out the folder.
add_executable(icq-stub WIN32 tools/demo_icq/icq_stub.c tools/demo_icq/icq_stub.rc)
target_link_options(icq-stub PRIVATE -static -nostartfiles -Wl,-e,StubMain)
add_library(mcore-stub SHARED tools/demo_icq/mcore_stub.c tools/demo_icq/mcore_stub.rc)
set_target_properties(mcore-stub PROPERTIES PREFIX "" OUTPUT_NAME mcore-stub)
target_link_options(mcore-stub PRIVATE -static -nostartfiles -Wl,-e,StubEntry)

add_library(demo_icq STATIC tools/demo_icq/demo_icq.cpp)
target_link_libraries(demo_icq PUBLIC kelvane_win32 advapi32)
add_executable(demo-icq tools/demo_icq/demo_icq_main.cpp app/templates.rc)
target_link_libraries(demo-icq PRIVATE demo_icq ${static_runtime} -municode)
add_dependencies(demo-icq icq-stub mcore-stub)

add_executable(bench tools/bench.cpp app/templates.rc)
target_link_libraries(bench PRIVATE demo_icq ${static_runtime} -municode)
add_dependencies(bench icq-stub mcore-stub)

add_executable(bench-hosts tools/bench_hosts.cpp)
target_link_libraries(bench-hosts PRIVATE kelvane_win32 ${static_runtime} -municode)

# Tests under Wine.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_executable(kelvane_win_tests
  tests/contract/file_system_contract.cpp
  tests/contract/win32_file_system_contract_test.cpp
  tests/e2e/e2e_support.cpp
  tests/e2e/install_platform_wine_test.cpp
  tests/e2e/kelvane_cli_wine_test.cpp
  app/templates.rc
)
target_link_libraries(kelvane_win_tests PRIVATE demo_icq gtest gtest_main ${static_runtime})
add_dependencies(kelvane_win_tests kelvane-cli icq-stub mcore-stub)
add_test(NAME win32 COMMAND kelvane_win_tests)
set_tests_properties(win32 PROPERTIES RESOURCE_LOCK wine_prefix)
# A test program that Wine ends early (a stack overflow) can still exit with 0: only gtest's own
# closing lines tell that every test ran and passed. A filter that matches no test fails too.
set(gtest_verdict PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [1-9][0-9]* tests?\\."
                  FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
set_tests_properties(win32 PROPERTIES ${gtest_verdict})

add_test(NAME imports_only_system_dlls
  COMMAND ${CMAKE_SOURCE_DIR}/tests/check_imports.sh x86_64-w64-mingw32-objdump
          $<TARGET_FILE:kelvane> $<TARGET_FILE:kelvane-cli>)
set_property(TEST imports_only_system_dlls PROPERTY CROSSCOMPILING_EMULATOR "")

# The window under test: the inspector that prints its controls, and the start-up measurement
# against a bare window of ours and against the window's controls alone.
add_executable(inspector tools/inspector.cpp)
target_link_libraries(inspector PRIVATE kelvane_view ${static_runtime} -municode)
add_executable(bare_window WIN32 tools/bare_window.cpp)
target_link_libraries(bare_window PRIVATE ${static_runtime} -municode)
target_compile_definitions(bare_window PRIVATE UNICODE _UNICODE)
target_include_directories(bare_window PRIVATE ${CMAKE_SOURCE_DIR})
add_executable(controls_window WIN32 tools/controls_window.cpp tools/controls_window.rc)
target_link_libraries(controls_window PRIVATE kelvane_view ${static_runtime} -municode)
add_executable(paint-bench tools/paint_bench.cpp)
target_link_libraries(paint-bench PRIVATE kelvane_win32 ${static_runtime} -municode)

# The window's tests need an X display.
set(with_display ${CMAKE_SOURCE_DIR}/tests/gui/on_display.sh)
add_executable(kelvane_window_tests tests/gui/window_layout_test.cpp)
target_link_libraries(kelvane_window_tests PRIVATE kelvane_view gtest gtest_main ${static_runtime})
add_test(NAME window_layout
  COMMAND ${with_display} ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:kelvane_window_tests>)
add_test(NAME window_end_to_end
  COMMAND ${with_display} python3 ${CMAKE_SOURCE_DIR}/tests/gui/gui_test.py ${CMAKE_BINARY_DIR})
set_tests_properties(window_layout window_end_to_end PROPERTIES
  CROSSCOMPILING_EMULATOR "" RESOURCE_LOCK wine_prefix)
set_tests_properties(window_layout PROPERTIES ${gtest_verdict})
# Passed only on a scenario's "ok" and no "FAIL": a status lost on the way (a wrapper, an early
# return) or a choice that runs no scenario must not read as a pass.
set_tests_properties(window_end_to_end PROPERTIES PASS_REGULAR_EXPRESSION "ok    [a-z0-9_]+ \\("
                     FAIL_REGULAR_EXPRESSION "FAIL  |Traceback")

# The download (./run package): the two programs as built here, signed when a certificate is
# given, with the user's README, the license and the checksums.
set(KELVANE_DIST_DIR ${CMAKE_BINARY_DIR}/dist CACHE PATH "Where the download is written")
add_custom_target(dist
  COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/dist/package.py ${PROJECT_VERSION} ${KELVANE_DIST_DIR}
          $<TARGET_FILE:kelvane> $<TARGET_FILE:kelvane-cli>
  DEPENDS kelvane kelvane-cli
  VERBATIM USES_TERMINAL)

add_executable(exe-resources tests/package/exe_resources.cpp)
target_link_libraries(exe-resources PRIVATE kelvane_win32 version ${static_runtime} -municode)
add_test(NAME download
  COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/package/package_test.py ${CMAKE_SOURCE_DIR}
          ${CMAKE_BINARY_DIR} ${PROJECT_VERSION} ${CMAKE_BUILD_TYPE})
