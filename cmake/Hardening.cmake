# SPDX-FileCopyrightText: 2026 Vantrel maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The hardening a Debian package is built with (what `dpkg-buildflags` gives): stack
# protection, checked format strings, fortified library calls, position-independent
# executables, and a read-only relocation table resolved at start. On by default, so the
# programs that are tested are the ones that are packaged.
option(VANTREL_HARDENING "Build with the distribution's hardening flags" ON)
if(NOT VANTREL_HARDENING)
  return()
endif()

include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
# Fortified calls need the optimiser; a Debug (sanitizer) build goes without.
add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE> $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
add_link_options(-Wl,-z,relro -Wl,-z,now)
