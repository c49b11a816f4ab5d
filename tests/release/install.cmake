# The installer under Wine: installs for a class folder, with one out of reach and plainly,
# the programs from their shortcuts, uninstall, upgrade (install_test.sh). Included by
# cmake/package.cmake's function, which sets programArgs, stem and releaseBase.
add_test(NAME release.install
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/release/install_test.sh
                 ${CMAKE_BINARY_DIR}/install-test $<TARGET_FILE:quarn_e2e_driver> ${stem}.msi
                 ${programArgs} -- ${releaseBase})
set_tests_properties(release.install PROPERTIES
  FIXTURES_REQUIRED quarn_release TIMEOUT 480 RESOURCE_LOCK quarn_wine_session LABELS e2e)
