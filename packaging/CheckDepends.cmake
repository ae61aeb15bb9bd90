# Run by cpack after the package is built: a .deb whose Depends lacks the
# libraries of Qt that its programs link would install and then not start.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.deb$")
        continue()
    endif()
    execute_process(COMMAND dpkg-deb --field ${package} Depends
                    OUTPUT_VARIABLE depends RESULT_VARIABLE result)
    foreach(library libqt6core6 libqt6gui6 libqt6widgets6)
        if(NOT result EQUAL 0 OR NOT depends MATCHES "(^|[ ,])${library}([ ,(]|$)")
            file(REMOVE ${package})
            message(FATAL_ERROR "${package}: Depends does not name ${library}: \"${depends}\"")
        endif()
    endforeach()
endforeach()
