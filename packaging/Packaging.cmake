# What is installed and how it is packed. Natively: kelbrin-cli with its
# manual page, its completion and the documents (`make install`, the .deb)
# and the source tarball; for Windows: the two programs with the help file and
# the licence (the zip). `make dist` runs CPack over both builds.
include(GNUInstallDirs)

# Installing builds nothing: `make install` and `make dist` build what they
# ship, and nothing else (the tests are not shipped).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(KELBRIN_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/kelbrin)
if(WIN32)
  install(TARGETS kelbrin kelbrin-cli RUNTIME DESTINATION .)
  install(FILES ${PROJECT_BINARY_DIR}/ReadMe.txt ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
else()
  install(TARGETS kelbrin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/docs/kelbrin-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/kelbrin-cli.bash-completion
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions RENAME kelbrin-cli)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${KELBRIN_DOC_DIR})
endif()

# The licence's name, as the version record and --version give it.
file(STRINGS ${PROJECT_SOURCE_DIR}/resources/version.h KELBRIN_LICENCE_LINE REGEX "define KELBRIN_LICENCE_NAME ")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" KELBRIN_LICENCE_NAME "${KELBRIN_LICENCE_LINE}")

set(CPACK_PACKAGE_NAME kelbrin)
set(CPACK_PACKAGE_VENDOR "Vantor Software")
set(CPACK_PACKAGE_CONTACT "Vantor Software <kelbrin@example.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://www.example.com/kelbrin/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "removes // line comments and turns runs of blanks into tabs")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES TRUE)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME kelbrin-${PROJECT_VERSION}-win64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS bash-completion)
  set(CPACK_PACKAGE_DESCRIPTION
      "kelbrin-cli tidies source files in place, keeping a backup of each, or as a\n"
      "filter: it removes // line comments and turns runs of blanks into tabs,\n"
      "optionally by tab stops or in the indentation alone, and with --syntax it\n"
      "keeps to the comments and literals of C, C++, Java and Pascal. With --check\n"
      "and --diff it tells what it would change. This package holds the\n"
      "command-line tool of Kelbrin, with its manual page and bash completion.\n"
      "Free software under the ${KELBRIN_LICENCE_NAME}.")
  string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
  set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/CompressManualPages.cmake)

  set(CPACK_SOURCE_GENERATOR TGZ)
  set(CPACK_SOURCE_PACKAGE_FILE_NAME kelbrin-${PROJECT_VERSION}-source)
  set(CPACK_SOURCE_IGNORE_FILES "^${PROJECT_SOURCE_DIR}/build/" "^${PROJECT_SOURCE_DIR}/[.]git(/|$)")
endif()

include(CPack)
