# SPDX-FileCopyrightText: 2026 Vantrel maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# ccache, when installed, in front of the compiler: the builds of CI (a fresh clone each time,
# five build folders of one tree) compile the same sources with the same flags again and
# again. Paths are taken relative to the source tree and the build folder is left out of the
# hash, so two clones of the same commit share their results. A launcher chosen by the caller
# (CMAKE_CXX_COMPILER_LAUNCHER) wins.
find_program(VANTREL_CCACHE ccache)
if(VANTREL_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_CXX_COMPILER_LAUNCHER
      ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} CCACHE_NOHASHDIR=1 ${VANTREL_CCACHE})
endif()
