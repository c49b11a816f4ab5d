# The progress report: its code in report/ (plain C++, tested on the host), built as
# quarn-report on the host and as the static Quarn_Report.exe for Windows.
file(GLOB QUARN_REPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/report/*.cpp)
add_library(quarn_report STATIC ${QUARN_REPORT_SOURCES})
# Its folders and files through platform/file_system.h and its console and browser through
# platform/shell.h: the Win32 layer on Windows; on the host the real file system and shell
# (platform/posix/, platform/host/), since the report reads real folders there while the
# drills' tests keep theirs in memory.
if(WIN32)
  target_link_libraries(quarn_report PUBLIC quarn_drill quarn_platform)
else()
  file(GLOB QUARN_HOST_PLATFORM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/posix/*.cpp
                                                          ${CMAKE_SOURCE_DIR}/platform/host/*.cpp)
  add_library(quarn_platform_host STATIC ${QUARN_HOST_PLATFORM_SOURCES})
  target_include_directories(quarn_platform_host PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(quarn_report PUBLIC quarn_drill quarn_platform_host)
endif()

if(WIN32)
  # A window-subsystem program, so that a double-click flashes no console; it writes to the
  # console it was started from (platform/win32/win32_shell.cpp).
  add_executable(Quarn_Report WIN32 ${CMAKE_SOURCE_DIR}/app/report_main.cpp
                                    ${CMAKE_SOURCE_DIR}/resources/report.rc)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/report.rc PROPERTIES
    INCLUDE_DIRECTORIES "${CMAKE_SOURCE_DIR}/resources;${CMAKE_BINARY_DIR}/generated"
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/report.ico;${CMAKE_SOURCE_DIR}/resources/quarn.manifest;${CMAKE_SOURCE_DIR}/resources/version_block.rc;${CMAKE_SOURCE_DIR}/resources/resource_ids.h;${CMAKE_BINARY_DIR}/generated/quarn_version.h")
  target_link_libraries(Quarn_Report PRIVATE quarn_report shell32 ole32)
  target_link_options(Quarn_Report PRIVATE -municode -static -static-libgcc -static-libstdc++ -s)
else()
  add_executable(quarn-report ${CMAKE_SOURCE_DIR}/app/report_main.cpp)
  target_link_libraries(quarn-report PRIVATE quarn_report)
  add_executable(quarn_report_bench ${CMAKE_SOURCE_DIR}/tools/report_bench.cpp)
  target_link_libraries(quarn_report_bench PRIVATE quarn_report)
  # It runs the program beside it.
  add_dependencies(quarn_report_bench quarn-report)
  # A realistic class's folder of logs, to look at the page a teacher sees.
  add_executable(quarn_make_class ${CMAKE_SOURCE_DIR}/tools/make_class.cpp)
  target_link_libraries(quarn_make_class PRIVATE quarn_drill)
endif()
