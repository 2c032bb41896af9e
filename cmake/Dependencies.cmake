# SPDX-License-Identifier: GPL-3.0-or-later
# Every package the chosen build needs is looked for here, before any layer is read, and
# feature_summary then lists them all with what each is for: a machine that lacks several
# learns of all of them in one configure run (scripts/install-deps installs them).
include(FeatureSummary)

# Records a program, a pkg-config module or a file that find_package does not know, so
# that the summary lists it beside the packages.
function(vantrel_record_dependency name found description purpose)
  if(found)
    set_property(GLOBAL APPEND PROPERTY PACKAGES_FOUND ${name})
  else()
    set_property(GLOBAL APPEND PROPERTY PACKAGES_NOT_FOUND ${name})
  endif()
  set_package_properties(${name} PROPERTIES DESCRIPTION "${description}" TYPE REQUIRED
                         PURPOSE "${purpose}")
endfunction()

if(VANTREL_GUI)
  find_package(Qt6 COMPONENTS Core Gui Widgets Test)
  set_package_properties(Qt6 PROPERTIES DESCRIPTION "Qt 6 (Debian: qt6-base-dev)" TYPE REQUIRED
                         PURPOSE "the windows, the grid and the GUI tests")

  find_package(PkgConfig QUIET)
  if(PkgConfig_FOUND)
    pkg_check_modules(LIBDW QUIET IMPORTED_TARGET GLOBAL libdw)
    pkg_check_modules(FONTCONFIG QUIET IMPORTED_TARGET GLOBAL fontconfig)
  endif()
  vantrel_record_dependency(libdw "${LIBDW_FOUND}" "elfutils' DWARF reader (Debian: libdw-dev)"
                            "file and line of each frame in the error report")
  vantrel_record_dependency(fontconfig "${FONTCONFIG_FOUND}"
                            "the font configuration library (Debian: libfontconfig-dev)"
                            "reading the font configuration while the program starts")

  find_program(VANTREL_MSGFMT msgfmt)
  vantrel_record_dependency(msgfmt "${VANTREL_MSGFMT}" "GNU gettext (Debian: gettext)"
                            "compiling the German and French catalogs")
endif()

if(NOT VANTREL_FUZZ)
  find_package(GIF)
  set_package_properties(GIF PROPERTIES DESCRIPTION "giflib (Debian: libgif-dev)" TYPE REQUIRED
                         PURPOSE "vantrel-drawgifs, which draws the pictures in assets/pictures")

  find_program(GZIP_PROGRAM gzip)
  vantrel_record_dependency(gzip "${GZIP_PROGRAM}" "gzip (Debian: gzip)"
                            "the compressed manual pages")

  set(VANTREL_WORDLIST_DIR /usr/share/dict CACHE PATH
      "Folder of the word lists american-english, ngerman and french")
  foreach(row "american-english|wamerican|English" "ngerman|wngerman|German"
              "french|wfrench|French")
    string(REPLACE "|" ";" row "${row}")
    list(GET row 0 list)
    list(GET row 1 package)
    list(GET row 2 language)
    set(found FALSE)
    if(EXISTS ${VANTREL_WORDLIST_DIR}/${list})
      set(found TRUE)
    endif()
    vantrel_record_dependency(${list} ${found}
      "${VANTREL_WORDLIST_DIR}/${list} (Debian: ${package}, or set VANTREL_WORDLIST_DIR)"
      "the bundled ${language} dictionary")
  endforeach()
endif()

if(VANTREL_TESTS)
  find_package(GTest)
  set_package_properties(GTest PROPERTIES DESCRIPTION "GoogleTest (Debian: libgtest-dev)"
                         TYPE REQUIRED PURPOSE "the test suites")
endif()
if(VANTREL_BENCH)
  find_package(benchmark)
  set_package_properties(benchmark PROPERTIES
                         DESCRIPTION "Google Benchmark (Debian: libbenchmark-dev)" TYPE REQUIRED
                         PURPOSE "the benchmarks in bench/")
endif()

feature_summary(WHAT REQUIRED_PACKAGES_NOT_FOUND PACKAGES_FOUND
                FATAL_ON_MISSING_REQUIRED_PACKAGES
                DESCRIPTION "Packages that the build needs:")
