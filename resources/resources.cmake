# The embedded resources of D_Quarn and S_Quarn: one resource script whose icon follows the
# build's QUARN_DIVISION definition, and the font's licence beside the programs.
set(QUARN_RESOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(QUARN_RESOURCE_DATA KORVEN.ttf right.wav wrong.wav division.ico subtraction.ico
                        quarn.manifest version_block.rc resource_ids.h)
list(TRANSFORM QUARN_RESOURCE_DATA PREPEND ${QUARN_RESOURCE_DIR}/)

configure_file(${QUARN_RESOURCE_DIR}/quarn_version.h.in
               ${CMAKE_BINARY_DIR}/generated/quarn_version.h @ONLY)

# windres looks for the files the script names in its include directories.
set_source_files_properties(${QUARN_RESOURCE_DIR}/quarn.rc PROPERTIES
  INCLUDE_DIRECTORIES "${QUARN_RESOURCE_DIR};${CMAKE_BINARY_DIR}/generated"
  OBJECT_DEPENDS "${QUARN_RESOURCE_DATA};${CMAKE_BINARY_DIR}/generated/quarn_version.h")

foreach(program D_Quarn S_Quarn)
  target_sources(${program} PRIVATE ${QUARN_RESOURCE_DIR}/quarn.rc)
endforeach()

# The font is a Modified Version under the SIL Open Font License, which must travel with it.
if(CMAKE_RUNTIME_OUTPUT_DIRECTORY)
  set(QUARN_PROGRAM_DIR ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
else()
  set(QUARN_PROGRAM_DIR ${CMAKE_BINARY_DIR})
endif()
configure_file(${QUARN_RESOURCE_DIR}/OFL.txt ${QUARN_PROGRAM_DIR}/OFL.txt COPYONLY)
