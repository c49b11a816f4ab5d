# End-to-end tests of D_Quarn.exe and S_Quarn.exe under Wine: a Win32 driver that runs each
# scenario in its own Wine virtual desktop, a minimal window program as the yardstick of the
# start-up time, and a look at the programs' imported DLLs.
set(QUARN_E2E_DIR ${CMAKE_CURRENT_LIST_DIR})
set(QUARN_E2E_OUT ${CMAKE_BINARY_DIR}/e2e)

add_executable(quarn_e2e_driver
  ${QUARN_E2E_DIR}/driver.cpp ${QUARN_E2E_DIR}/harness.cpp ${QUARN_E2E_DIR}/drill_view.cpp
  ${QUARN_E2E_DIR}/session.cpp ${QUARN_E2E_DIR}/installed.cpp)
target_include_directories(quarn_e2e_driver PRIVATE ${CMAKE_SOURCE_DIR})
# MinGW's own printf family, which knows %zu and %lld.
target_compile_definitions(quarn_e2e_driver
  PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX __USE_MINGW_ANSI_STDIO=1)
target_link_options(quarn_e2e_driver PRIVATE -municode -static)
# It reads the drills' logs with the reader the report uses.
target_link_libraries(quarn_e2e_driver PRIVATE quarn_practice user32 gdi32 ole32 shell32 uuid)

add_executable(quarn_minimal WIN32 ${QUARN_E2E_DIR}/minimal.cpp)
target_compile_definitions(quarn_minimal PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN)
target_link_options(quarn_minimal PRIVATE -municode -static)
target_link_libraries(quarn_minimal PRIVATE user32 gdi32)

enable_testing()

set(QUARN_E2E_DESKTOP 0)
# One scenario as a test. The driver reruns itself in a virtual desktop of its own; tests
# share the Wine prefix, its temporary directory and the font file in it, so they run one at
# a time.
function(quarn_e2e_test name scenario timeout)
  math(EXPR desktop "${QUARN_E2E_DESKTOP} + 1")
  set(QUARN_E2E_DESKTOP ${desktop} PARENT_SCOPE)
  add_test(NAME e2e.${name}
           COMMAND wine $<TARGET_FILE:quarn_e2e_driver> ${scenario}
                   --desktop quarn${desktop} --work ${QUARN_E2E_OUT}/${name}
                   --shots ${QUARN_E2E_OUT} --timeout ${timeout} ${ARGN})
  math(EXPR ctestTimeout "${timeout} + 30")
  set_tests_properties(e2e.${name} PROPERTIES
    TIMEOUT ${ctestTimeout} RESOURCE_LOCK quarn_wine_session LABELS e2e)
endfunction()

# How the driver is told which program it runs and which build that is.
set(QUARN_E2E_ARGS_D_Quarn --division $<TARGET_FILE:D_Quarn>)
set(QUARN_E2E_ARGS_S_Quarn --subtraction $<TARGET_FILE:S_Quarn>)

foreach(program D_Quarn S_Quarn)
  set(variant ${QUARN_E2E_ARGS_${program}})
  quarn_e2e_test(${program}.startup startup 60 ${variant})
  quarn_e2e_test(${program}.full-run full-run 150 ${variant})
  set_tests_properties(e2e.${program}.full-run PROPERTIES FIXTURES_SETUP quarn_e2e_logs)
  quarn_e2e_test(${program}.quit-button quit-button 60 ${variant})
  quarn_e2e_test(${program}.keys keys 60 ${variant})
  quarn_e2e_test(${program}.log-unwritable log-unwritable 60 ${variant})
  quarn_e2e_test(${program}.end-session end-session 60 ${variant})
  # A focus run in a folder whose logs make ten facts weak; the report reads its folder.
  quarn_e2e_test(${program}.focus focus 120 ${variant})
  set_tests_properties(e2e.${program}.focus PROPERTIES FIXTURES_SETUP quarn_e2e_logs)
endforeach()
quarn_e2e_test(regional-empty regional-empty 60 ${QUARN_E2E_ARGS_D_Quarn})
quarn_e2e_test(non-ascii-paths non-ascii-paths 60 ${QUARN_E2E_ARGS_S_Quarn})
quarn_e2e_test(two-instances two-instances 90 ${QUARN_E2E_ARGS_D_Quarn} ${QUARN_E2E_ARGS_S_Quarn})

# Quarn_Report.exe on the logs the two full runs left, one learner per drill, started the
# way a double-click starts it (no folder, the logs in the current directory) but with
# --no-open.
add_test(NAME e2e.Quarn_Report
         COMMAND sh ${QUARN_E2E_DIR}/report.sh $<TARGET_FILE:Quarn_Report> ${QUARN_E2E_OUT}/Quarn_Report
                 ${QUARN_E2E_OUT}/D_Quarn.full-run ${QUARN_E2E_OUT}/S_Quarn.full-run
                 ${QUARN_E2E_OUT}/D_Quarn.focus ${QUARN_E2E_OUT}/S_Quarn.focus)
set_tests_properties(e2e.Quarn_Report PROPERTIES
  TIMEOUT 120 RESOURCE_LOCK quarn_wine_session FIXTURES_REQUIRED quarn_e2e_logs LABELS e2e)

# Start-up and key-to-screen times; they print figures and check nothing timed. They run
# only when asked for: ctest --preset mingw -C Measure -R e2e.measure -V [--repeat until-fail:3]
foreach(program D_Quarn S_Quarn)
  set(variant ${QUARN_E2E_ARGS_${program}})
  add_test(NAME e2e.measure.${program} CONFIGURATIONS Measure
           COMMAND wine $<TARGET_FILE:quarn_e2e_driver> measure
                   --desktop quarnmeasure --work ${QUARN_E2E_OUT}/measure.${program}
                   --timeout 120 ${variant} --minimal $<TARGET_FILE:quarn_minimal>)
  set_tests_properties(e2e.measure.${program} PROPERTIES
    TIMEOUT 150 RESOURCE_LOCK quarn_wine_session)
  # A focus run's start-up beside the normal one in a year's logs, and in 10,000 logs.
  add_test(NAME e2e.measure.${program}.focus CONFIGURATIONS Measure
           COMMAND wine $<TARGET_FILE:quarn_e2e_driver> measure-focus
                   --desktop quarnmeasure --work ${QUARN_E2E_OUT}/measure-focus.${program}
                   --timeout 600 ${variant})
  set_tests_properties(e2e.measure.${program}.focus PROPERTIES
    TIMEOUT 630 RESOURCE_LOCK quarn_wine_session)
endforeach()

# Linked statically, the programs import nothing but DLLs every Windows has; so does the
# installer's custom action, which the installer would otherwise skip without a word.
find_program(QUARN_OBJDUMP NAMES x86_64-w64-mingw32-objdump objdump)
set(importsChecked D_Quarn S_Quarn Quarn_Report quarn_install_actions)
list(TRANSFORM importsChecked REPLACE "^(.+)$" "$<TARGET_FILE:\\1>")
add_test(NAME e2e.imports
         COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${QUARN_OBJDUMP} "-DPROGRAMS=${importsChecked}"
                 -P ${QUARN_E2E_DIR}/imports.cmake)
