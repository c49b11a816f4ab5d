# The progress report: its code in report/ (plain C++, tested on the host), built as
# quarn-report on the host and as the static Quarn_Report.exe for Windows.
file(GLOB QUARN_REPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/report/*.cpp)
add_library(quarn_report STATIC ${QUARN_REPORT_SOURCES})
target_include_directories(quarn_report PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quarn_report PUBLIC quarn_practice)
# Its folders and files through platform/file_system.h: the Win32 layer on Windows, the real
# file system elsewhere (the drills' in-memory backend keeps no folders).
if(WIN32)
  target_link_libraries(quarn_report PUBLIC quarn_platform)
else()
  add_library(quarn_file_system STATIC ${CMAKE_SOURCE_DIR}/platform/posix/posix_file_system.cpp)
  target_include_directories(quarn_file_system PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(quarn_report PUBLIC quarn_file_system)
endif()

if(WIN32)
  # A window-subsystem program, so that a double-click flashes no console; it writes to the
  # console it was started from (platform/win32/win32_shell.cpp).
  add_executable(Quarn_Report WIN32 ${CMAKE_SOURCE_DIR}/app/report_main.cpp
                                    ${CMAKE_SOURCE_DIR}/resources/report.rc)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/report.rc PROPERTIES
    INCLUDE_DIRECTORIES "${CMAKE_SOURCE_DIR}/resources;${CMAKE_BINARY_DIR}/generated"
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/report.ico;${CMAKE_SOURCE_DIR}/resources/quarn.manifest;${CMAKE_SOURCE_DIR}/resources/version_block.rc;${CMAKE_SOURCE_DIR}/resources/resource_ids.h;${CMAKE_BINARY_DIR}/generated/quarn_version.h")
  target_link_libraries(Quarn_Report PRIVATE quarn_report quarn_platform shell32 ole32)
  target_link_options(Quarn_Report PRIVATE -municode -static -static-libgcc -static-libstdc++ -s)
else()
  add_executable(quarn-report ${CMAKE_SOURCE_DIR}/app/report_main.cpp
                              ${CMAKE_SOURCE_DIR}/platform/host/host_shell.cpp)
  target_link_libraries(quarn-report PRIVATE quarn_report)
  add_executable(quarn_report_bench ${CMAKE_SOURCE_DIR}/tools/report_bench.cpp)
  target_link_libraries(quarn_report_bench PRIVATE quarn_report)
  # It runs the program beside it.
  add_dependencies(quarn_report_bench quarn-report)
  # A realistic class's folder of logs, to look at the page a teacher sees.
  add_executable(quarn_make_class ${CMAKE_SOURCE_DIR}/tools/make_class.cpp)
  target_link_libraries(quarn_make_class PRIVATE quarn_practice)
endif()
