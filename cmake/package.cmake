# The release files: `cmake --build --preset mingw --target package` makes
# Quarn-<version>-win64.zip and Quarn-<version>-win64.msi beside the programs. The programs
# shipped are QUARN_SHIPPED_PROGRAMS: the two drills, and the report program whenever the
# build has it. Each one's Start-menu shortcut is named by its QUARN_TITLE property.
set_target_properties(D_Quarn PROPERTIES QUARN_TITLE "Divide Quarn")
set_target_properties(S_Quarn PROPERTIES QUARN_TITLE "Subtract Quarn")

find_program(QUARN_PACKAGE_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT QUARN_PACKAGE_PYTHON)
  find_program(QUARN_PACKAGE_PYTHON NAMES python3 REQUIRED)
endif()
set(QUARN_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
# Each drill also gets a focus shortcut, named with the header's suffix after the drill's title.
set(QUARN_FOCUS_PROGRAMS D_Quarn S_Quarn)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_SOURCE_DIR}/resources/resource_ids.h)
file(STRINGS ${CMAKE_SOURCE_DIR}/resources/resource_ids.h QUARN_FOCUS_TITLE_SUFFIX
     REGEX "^#define QUARN_FOCUS_TITLE_SUFFIX \"[^\"]*\"$")
string(REGEX REPLACE "^[^\"]*\"([^\"]*)\"$" "\\1" QUARN_FOCUS_TITLE_SUFFIX
       "${QUARN_FOCUS_TITLE_SUFFIX}")
if(QUARN_FOCUS_TITLE_SUFFIX STREQUAL "")
  message(FATAL_ERROR "resources/resource_ids.h defines no QUARN_FOCUS_TITLE_SUFFIX")
endif()

# Runs once the whole tree is read, so that a program defined after this file still ships.
function(QuarnReleaseFiles)
  set(QUARN_SHIPPED_PROGRAMS D_Quarn S_Quarn)
  if(TARGET Quarn_Report)
    list(APPEND QUARN_SHIPPED_PROGRAMS Quarn_Report)
  endif()
  set(programArgs "")
  set(programFiles "")
  foreach(program IN LISTS QUARN_SHIPPED_PROGRAMS)
    get_target_property(title ${program} QUARN_TITLE)
    if(NOT title)
      string(REPLACE "_" " " title ${program})
    endif()
    list(APPEND programArgs --program "$<TARGET_FILE:${program}>=${title}")
    list(APPEND programFiles "$<TARGET_FILE:${program}>")
    if(program IN_LIST QUARN_FOCUS_PROGRAMS)
      list(APPEND programArgs
           --focus "$<TARGET_FILE_NAME:${program}>=${title}${QUARN_FOCUS_TITLE_SUFFIX}")
    endif()
  endforeach()

  set(stem ${CMAKE_BINARY_DIR}/Quarn-${PROJECT_VERSION}-win64)
  set(releaseBase ${QUARN_PACKAGE_PYTHON} ${QUARN_PACKAGING_DIR}/release.py
      --date ${QUARN_RELEASE_DATE} --publisher ${QUARN_PUBLISHER} --source ${CMAKE_SOURCE_DIR}
      --actions $<TARGET_FILE:quarn_install_actions>)
  set(release ${releaseBase} --version ${PROJECT_VERSION} ${programArgs})
  add_custom_command(
    OUTPUT ${stem}.zip ${stem}.msi
    COMMAND ${release} --out ${CMAKE_BINARY_DIR} --work ${CMAKE_BINARY_DIR}/package --zip --msi
    DEPENDS ${QUARN_SHIPPED_PROGRAMS} ${programFiles} quarn_install_actions
            $<TARGET_FILE:quarn_install_actions> ${QUARN_PACKAGING_DIR}/release.py
            ${QUARN_PACKAGING_DIR}/msi_summary.py ${QUARN_PACKAGING_DIR}/guide.txt
            ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/resources/OFL.txt
            ${CMAKE_SOURCE_DIR}/resources/division.ico
    COMMENT "Release files Quarn-${PROJECT_VERSION}-win64.zip and .msi"
    VERBATIM)
  add_custom_target(package DEPENDS ${stem}.zip ${stem}.msi)

  # The release tests build the release files first, as a fixture.
  add_test(NAME release.build
           COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target package)
  set_tests_properties(release.build PROPERTIES FIXTURES_SETUP quarn_release)
  add_test(NAME release.files
           COMMAND ${QUARN_PACKAGE_PYTHON} ${CMAKE_SOURCE_DIR}/tests/release/release_files_test.py
                   --zip ${stem}.zip --msi ${stem}.msi --version ${PROJECT_VERSION}
                   --publisher ${QUARN_PUBLISHER} ${programArgs})
  set_tests_properties(release.files PROPERTIES FIXTURES_REQUIRED quarn_release)
  # A second package made in another work directory must come out byte for byte the same.
  add_test(NAME release.reproducible
           COMMAND ${CMAKE_COMMAND} -DOUT=${CMAKE_BINARY_DIR}/release-again
                   -DZIP=${stem}.zip -DMSI=${stem}.msi
                   "-DRELEASE=${release}" -P ${CMAKE_SOURCE_DIR}/tests/release/reproducible.cmake)
  set_tests_properties(release.reproducible PROPERTIES FIXTURES_REQUIRED quarn_release)
  include(${CMAKE_SOURCE_DIR}/tests/release/install.cmake OPTIONAL)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL QuarnReleaseFiles)
