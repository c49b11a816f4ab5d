cmake_minimum_required(VERSION 3.25)
# Makes the release files once more in another directory and compares them with the build's.
# Run with -DRELEASE=<release.py command> -DOUT=<directory> -DZIP= -DMSI=.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${RELEASE} --out ${OUT} --work ${OUT}/work --zip --msi
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "release.py failed")
endif()
foreach(file ${ZIP} ${MSI})
  get_filename_component(name ${file} NAME)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${file} ${OUT}/${name}
                  RESULT_VARIABLE differ)
  if(differ)
    message(SEND_ERROR "${name} differs between two runs")
  else()
    file(SIZE ${file} size)
    message(STATUS "${name}: ${size} bytes, the same twice")
  endif()
endforeach()
