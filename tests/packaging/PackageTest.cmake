# The Debian package built from the build tree: its Depends, its files and
# its desktop entry. Run by ctest as
#   cmake -D BUILD_DIR=... -D WORK_DIR=... -P PackageTest.cmake
#
# The build tree is only read: the programs are installed from it into a
# staging folder under WORK_DIR and cpack packs that folder, so that no
# preinstall build runs beside tests that use the same build tree.

cmake_minimum_required(VERSION 3.21)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out
                    ERROR_VARIABLE err)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}\n${err}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

function(expect condition text)
    cmake_language(EVAL CODE "if(NOT (${condition}))
        message(FATAL_ERROR [==[${text}]==])
    endif()")
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(stage ${WORK_DIR}/stage)
run(${CMAKE_COMMAND} -E env DESTDIR=${stage}
    ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr --strip)
run(cpack --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/out
    -D CPACK_INSTALL_CMAKE_PROJECTS=
    -D "CPACK_INSTALLED_DIRECTORIES=${stage}\;.")
file(GLOB debs ${WORK_DIR}/out/*.deb)
list(LENGTH debs count)
expect("count EQUAL 1" "expected one .deb in ${WORK_DIR}/out, found: ${debs}")

# Depends: what dpkg-shlibdeps found in the programs, and what they load by
# name at run time.
run(dpkg-deb --field ${debs} Depends)
string(STRIP "${out}" depends)
string(REGEX REPLACE " *\\([^)]*\\)" "" names "${depends}")
string(REPLACE ", " ";" names "${names}")
foreach(package libqt6core6 libqt6gui6 libqt6widgets6 libc6 libstdc++6
                fonts-arphic-uming fonts-wqy-zenhei qt6-translations-l10n)
    expect("\"${package}\" IN_LIST names" "Depends lacks ${package}: ${depends}")
endforeach()

# Files: only the two programs in /usr/bin, the settings file in the data
# folder, the desktop entry, the file type and the icons.
run(dpkg-deb --contents ${debs})
string(REGEX MATCHALL "\\./usr/[^\n]*[^/\n]\n" files "${out}")
string(REPLACE "\n" "" files "${files}")
list(SORT files)
set(expected
    ./usr/bin/HMK725Config
    ./usr/bin/hkftool
    ./usr/share/applications/hmk725config.desktop
    ./usr/share/hmk725config/HMK725Config.ini
    ./usr/share/icons/hicolor/128x128/apps/hmk725config.png
    ./usr/share/icons/hicolor/scalable/apps/hmk725config.svg
    ./usr/share/mime/packages/hmk725config.xml)
expect("files STREQUAL expected" "files of the package:\n${files}\nexpected:\n${expected}")

# The desktop entry as installed: valid, opening .hkf files given to it.
set(root ${WORK_DIR}/root)
run(dpkg-deb --extract ${debs} ${root})
set(entry ${root}/usr/share/applications/hmk725config.desktop)
run(desktop-file-validate ${entry})
file(READ ${entry} text)
foreach(line "Exec=HMK725Config %f" "MimeType=application/x-hmk725-config;")
    string(FIND "\n${text}" "\n${line}\n" at)
    expect("NOT at EQUAL -1" "${entry} lacks the line \"${line}\"")
endforeach()
# The file type definition must be one the desktop's database takes; the
# tool reports a file it cannot parse but still succeeds, so look for the
# type it compiled.
run(update-mime-database ${root}/usr/share/mime)
expect("EXISTS ${root}/usr/share/mime/application/x-hmk725-config.xml"
       "update-mime-database did not take the file type: ${out}")

# The installed hkftool, with no settings file beside it, builds from the one
# in the data folder.
run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
    ${root}/usr/bin/hkftool build -o ${WORK_DIR}/built.hkf)
run(${root}/usr/bin/hkftool verify ${WORK_DIR}/built.hkf)
