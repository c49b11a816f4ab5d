# Reads back the committed font, sounds and icons on the host. Needs the python3 that has
# fontTools (Debian's python3-fonttools lives beside /usr/bin/python3).
find_program(QUARN_RESOURCE_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT QUARN_RESOURCE_PYTHON)
  find_program(QUARN_RESOURCE_PYTHON NAMES python3 REQUIRED)
endif()
add_test(NAME resource_files
         COMMAND ${QUARN_RESOURCE_PYTHON} ${CMAKE_SOURCE_DIR}/tests/unit/resource_files_test.py
                 ${CMAKE_SOURCE_DIR}/resources)
set_tests_properties(resource_files PROPERTIES TIMEOUT 120)
