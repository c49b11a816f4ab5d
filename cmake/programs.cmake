# The two drill programs for Windows: one entry point, compiled once per variant, linked
# statically so that each imports only system DLLs.
enable_language(RC)

foreach(program D_Quarn S_Quarn)
  add_executable(${program} WIN32 app/main.cpp)
  target_link_libraries(${program} PRIVATE quarn_app)
  target_link_options(${program} PRIVATE -static -static-libgcc -static-libstdc++ -s)
endforeach()
target_compile_definitions(D_Quarn PRIVATE QUARN_DIVISION)
target_compile_definitions(S_Quarn PRIVATE QUARN_SUBTRACTION)

include(${CMAKE_SOURCE_DIR}/resources/resources.cmake)
