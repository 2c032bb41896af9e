# SPDX-License-Identifier: GPL-3.0-or-later
# Installs vantrel stripped into a throwaway prefix, as a package build would, and checks
# that the installed file still carries its catalogs (stripping drops appended bytes, and
# the install step has to put them back).
#   cmake -DBUILD_DIR=... -DPREFIX=... -DTESTS=<i18n_tests> -P InstallCheck.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(
  COMMAND ${CMAKE_COMMAND} -DCMAKE_INSTALL_PREFIX=${PREFIX} -DCMAKE_INSTALL_DO_STRIP=1
          -P ${BUILD_DIR}/app/cmake_install.cmake
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "installing vantrel failed")
endif()
file(GLOB installed ${PREFIX}/*/vantrel)
if(NOT installed)
  message(FATAL_ERROR "no vantrel under ${PREFIX}")
endif()
set(ENV{VANTREL_INSTALLED_PROGRAM} ${installed})
execute_process(COMMAND ${TESTS} --gtest_filter=TheProgram.* RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the stripped, installed vantrel lacks its catalogs")
endif()
