# The release files: `cmake --build --preset mingw --target package` makes
# Quarn-<version>-win64.zip and Quarn-<version>-win64.msi beside the programs. The programs
# shipped are QUARN_SHIPPED_PROGRAMS; each one's Start-menu shortcut carries the title that
# resources/resource_ids.h gives it (QUARN_<key>_TITLE, keys in QUARN_SHIPPED_TITLE_KEYS).
set(QUARN_SHIPPED_PROGRAMS D_Quarn S_Quarn Quarn_Report)
set(QUARN_SHIPPED_TITLE_KEYS DIVISION SUBTRACTION REPORT)
# Each drill also gets a focus shortcut, named with the header's suffix after the drill's title.
set(QUARN_FOCUS_PROGRAMS D_Quarn S_Quarn)

set(titleHeader ${CMAKE_SOURCE_DIR}/resources/resource_ids.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${titleHeader})
set(titlePattern "^#define QUARN_([A-Z]+)_TITLE \"([^\"]+)\"$")
file(STRINGS ${titleHeader} titleDefinitions REGEX "${titlePattern}")
foreach(definition IN LISTS titleDefinitions)
  string(REGEX MATCH "${titlePattern}" definition "${definition}")
  set(title_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()
set(suffixPattern "^#define QUARN_FOCUS_TITLE_SUFFIX \"([^\"]+)\"$")
file(STRINGS ${titleHeader} focusSuffix REGEX "${suffixPattern}")
if(NOT focusSuffix MATCHES "${suffixPattern}")
  message(FATAL_ERROR "${titleHeader} defines no QUARN_FOCUS_TITLE_SUFFIX")
endif()
set(QUARN_FOCUS_TITLE_SUFFIX "${CMAKE_MATCH_1}")

set(QUARN_RELEASE_PROGRAM_ARGS "")  # --program EXE_PATH=TITLE, --focus EXE_NAME=TITLE
set(programFiles "")
foreach(program key IN ZIP_LISTS QUARN_SHIPPED_PROGRAMS QUARN_SHIPPED_TITLE_KEYS)
  if(NOT DEFINED title_${key})
    message(FATAL_ERROR "${titleHeader} gives ${program} no title (QUARN_${key}_TITLE)")
  endif()
  list(APPEND QUARN_RELEASE_PROGRAM_ARGS --program "$<TARGET_FILE:${program}>=${title_${key}}")
  list(APPEND programFiles "$<TARGET_FILE:${program}>")
  if(program IN_LIST QUARN_FOCUS_PROGRAMS)
    list(APPEND QUARN_RELEASE_PROGRAM_ARGS
         --focus "$<TARGET_FILE_NAME:${program}>=${title_${key}}${QUARN_FOCUS_TITLE_SUFFIX}")
  endif()
endforeach()

set(QUARN_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(QUARN_RELEASE_STEM ${CMAKE_BINARY_DIR}/Quarn-${PROJECT_VERSION}-win64)
# release.py without the version and the programs: the installer test makes an older
# release with it.
set(QUARN_RELEASE_BASE ${QUARN_PYTHON} ${QUARN_PACKAGING_DIR}/release.py
    --date ${QUARN_RELEASE_DATE} --publisher ${QUARN_PUBLISHER} --source ${CMAKE_SOURCE_DIR}
    --actions $<TARGET_FILE:quarn_install_actions>)
set(QUARN_RELEASE_COMMAND ${QUARN_RELEASE_BASE} --version ${PROJECT_VERSION}
    ${QUARN_RELEASE_PROGRAM_ARGS})
add_custom_command(
  OUTPUT ${QUARN_RELEASE_STEM}.zip ${QUARN_RELEASE_STEM}.msi
  COMMAND ${QUARN_RELEASE_COMMAND} --out ${CMAKE_BINARY_DIR} --work ${CMAKE_BINARY_DIR}/package
          --zip --msi
  DEPENDS ${QUARN_SHIPPED_PROGRAMS} ${programFiles} quarn_install_actions
          $<TARGET_FILE:quarn_install_actions> ${QUARN_PACKAGING_DIR}/release.py
          ${QUARN_PACKAGING_DIR}/msi_summary.py ${QUARN_PACKAGING_DIR}/guide.txt
          ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/resources/OFL.txt
          ${CMAKE_SOURCE_DIR}/resources/division.ico
  COMMENT "Release files Quarn-${PROJECT_VERSION}-win64.zip and .msi"
  VERBATIM)
add_custom_target(package DEPENDS ${QUARN_RELEASE_STEM}.zip ${QUARN_RELEASE_STEM}.msi)
