# Read by cpack before each generator runs.
if(CPACK_GENERATOR STREQUAL "DEB")
    find_program(HMK_DPKG_SHLIBDEPS dpkg-shlibdeps)
    find_program(HMK_FILE file)
    if(NOT HMK_DPKG_SHLIBDEPS OR NOT HMK_FILE)
        message(FATAL_ERROR
            "The Debian package needs dpkg-shlibdeps (package dpkg-dev) and file to declare the "
            "Qt libraries it links; install them (scripts/setup.sh does).")
    endif()
endif()
