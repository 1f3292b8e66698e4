# The Debian package (./kestrin package): manual pages, the files Debian requires in
# usr/share/doc, and CPack's DEB generator with dependencies computed by dpkg-shlibdeps.
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)
set(KESTRIN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kestrin)
# Installed programs resolve every symbol at start and then make their relocations read-only.
foreach(program kestrin kestrin-cli)
  if(TARGET ${program})
    target_link_options(${program} PRIVATE LINKER:-z,relro,-z,now)
  endif()
endforeach()

# kestrin-cli's manual page is made from its own --help and --version and each command's
# --help, so it never lags behind the program.
set(man ${CMAKE_BINARY_DIR}/man)
set(cli_include ${PROJECT_SOURCE_DIR}/app/desktop/kestrin-cli.h2m)
add_custom_command(
  OUTPUT ${man}/kestrin-cli.1.gz ${man}/kestrin.1.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${man}
  COMMAND sh ${PROJECT_SOURCE_DIR}/app/cli_commands_h2m.sh $<TARGET_FILE:kestrin-cli> ${cli_include}
          ${man}/kestrin-cli.h2m
  COMMAND ${HELP2MAN} --no-info --section=1 --output=${man}/kestrin-cli.1 --include=${man}/kestrin-cli.h2m
          "--name=battle calculator without a window, JSON output" $<TARGET_FILE:kestrin-cli>
  COMMAND ${GZIP} -9nf ${man}/kestrin-cli.1
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/app/desktop/kestrin.1 ${man}/kestrin.1
  COMMAND ${GZIP} -9nf ${man}/kestrin.1
  DEPENDS kestrin-cli ${PROJECT_SOURCE_DIR}/app/desktop/kestrin.1 ${cli_include}
          ${PROJECT_SOURCE_DIR}/app/cli_commands_h2m.sh
  VERBATIM)
# A native package's change log, dated on the release day.
execute_process(COMMAND date -R -u -d ${KESTRIN_RELEASE_DATE}
                OUTPUT_VARIABLE release_date OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
file(CONFIGURE OUTPUT ${man}/changelog CONTENT
     "kestrin (${PROJECT_VERSION}) unstable; urgency=medium\n\n  * Kestrin ${PROJECT_VERSION}.\n\n -- ${KESTRIN_MAINTAINER}  ${release_date}\n")
add_custom_command(OUTPUT ${man}/changelog.gz
                   COMMAND ${GZIP} -9nkf ${man}/changelog
                   DEPENDS ${man}/changelog)
add_custom_target(kestrin_package_docs ALL DEPENDS ${man}/kestrin-cli.1.gz ${man}/kestrin.1.gz ${man}/changelog.gz)
install(FILES ${man}/kestrin-cli.1.gz ${man}/kestrin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${man}/changelog.gz app/desktop/copyright DESTINATION ${KESTRIN_DOC_DIR})

# The package holds only the programs and their files: installing (and cpack) must not build
# the tests and benchmarks first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${KESTRIN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "battle calculator for a tick-based space strategy game")
set(CPACK_PACKAGE_DESCRIPTION
    "Kestrin evaluates battles of a tick-based space strategy game tick by
tick: initiative order, target classes, shot allocation, EMP holds, ship
stealing and asteroid capture. Fleets are typed in or read from pasted game
reports; battles are saved as .kbf files. The package holds the desktop
program (kestrin) and the same calculator without a window (kestrin-cli),
which prints JSON.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A calculator beside a game, not a game itself.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
