# The installer's custom actions: a DLL that only the msi carries (as its Binary QuarnSetup),
# for the class folder a school gives as PRACTICEFOLDER. Linked statically like the programs,
# so the installer loads it with nothing but system DLLs.
add_library(quarn_install_actions SHARED packaging/installer/practice_folder_action.cpp)
target_include_directories(quarn_install_actions PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(quarn_install_actions
  PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(quarn_install_actions PRIVATE msi shell32 advapi32)
target_link_options(quarn_install_actions PRIVATE -static -static-libgcc -static-libstdc++ -s)
set_target_properties(quarn_install_actions PROPERTIES PREFIX "" OUTPUT_NAME QuarnSetup)
