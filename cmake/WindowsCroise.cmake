# A Windows build made on Linux (cmake/mingw-w64.cmake): its programs run under Wine
# (scripts/lib/wine-lancer.sh), in a prefix of the build's own, and NSIS packages them. Wine and
# the installer take the DLLs from Qt's bin folder, the C libraries' and MinGW's runtime.
# Sets VELLOR_DLL (those folders, separated by :) and LANCEUR, the command that comes before
# a test program; the installer is the target `installateur`.
get_filename_component(dossierQt "${Qt${QT_VERSION_MAJOR}_DIR}/../../.." ABSOLUTE)
set(dossiersDll ${dossierQt}/bin)
foreach(prefixe ${CMAKE_PREFIX_PATH})
    if(EXISTS ${prefixe}/bin)
        list(APPEND dossiersDll ${prefixe}/bin)
    endif()
endforeach()
foreach(dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE fichierDll OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(dossierDll ${fichierDll} DIRECTORY)
    list(APPEND dossiersDll ${dossierDll})
endforeach()
list(REMOVE_DUPLICATES dossiersDll)
string(REPLACE ";" ":" VELLOR_DLL "${dossiersDll}")
set(LANCEUR ${PROJECT_SOURCE_DIR}/scripts/lib/wine-lancer.sh ${PROJECT_BINARY_DIR} ${VELLOR_DLL})

find_program(MAKENSIS makensis)
if(MAKENSIS)
    set(INSTALLATEUR
        ${PROJECT_BINARY_DIR}/vellorcup-display-${PROJECT_VERSION}-win64-setup.exe)
    set(fichiers ${PROJECT_BINARY_DIR}/installateur-fichiers.nsh)
    add_custom_command(OUTPUT ${INSTALLATEUR}
        COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/lib/windows-fichiers.sh
            $<TARGET_FILE:vellorcup-display> ${VELLOR_DLL} ${dossierQt}/plugins > ${fichiers}
        COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSORTIE=${INSTALLATEUR}
            -DFICHIERS=${fichiers} ${PROJECT_SOURCE_DIR}/packaging/windows/vellorcup-display.nsi
        DEPENDS vellorcup-display ${PROJECT_SOURCE_DIR}/scripts/lib/windows-fichiers.sh
            ${PROJECT_SOURCE_DIR}/packaging/windows/vellorcup-display.nsi
        VERBATIM)
    add_custom_target(installateur ALL DEPENDS ${INSTALLATEUR})
endif()
