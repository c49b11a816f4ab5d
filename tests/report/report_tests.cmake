# Tests of the progress report on the host: the folder walk, the figures and the page in
# GoogleTest, and the page as a real browser renders it.
file(GLOB QUARN_REPORT_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_executable(quarn_report_tests ${QUARN_REPORT_TESTS})
target_link_libraries(quarn_report_tests PRIVATE quarn_report GTest::gtest GTest::gtest_main)
target_compile_definitions(quarn_report_tests
  PRIVATE QUARN_REPORT_FIXTURES="${CMAKE_CURRENT_LIST_DIR}/fixtures")
gtest_discover_tests(quarn_report_tests DISCOVERY_TIMEOUT 30)

# The page as headless Chromium renders it; leaves report.html and report.png in
# build/host/report-browser/ to look at.
find_program(QUARN_CHROMIUM NAMES chromium chromium-browser)
find_program(QUARN_REPORT_PYTHON NAMES python3 REQUIRED)
add_test(NAME report_browser
         COMMAND ${QUARN_REPORT_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/browser_test.py
                 $<TARGET_FILE:quarn-report> ${CMAKE_CURRENT_LIST_DIR}/fixtures
                 ${CMAKE_BINARY_DIR}/report-browser ${QUARN_CHROMIUM})
set_tests_properties(report_browser PROPERTIES TIMEOUT 400)
