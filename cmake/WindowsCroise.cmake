# A Windows build made on Linux (cmake/mingw-w64.cmake): its programs run under Wine
# (scripts/lib/wine-lancer.sh), in a prefix of the build's own, and NSIS packages them. Wine and
# the installer take the DLLs from Qt's bin folder, the C libraries' and MinGW's runtime.
# Sets VELLOR_DLL (those folders, separated by :) and LANCEUR, the command that comes before
# a test program; the installer is the target `installateur`, its files listed by
# packaging/windows/fichiers.cmake.
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

# installateur_nsis(SORTIE VERSION): the installer of the station's files, as VERSION. Called in
# the folder of the target that needs it.
function(installateur_nsis sortie version)
    add_custom_command(OUTPUT ${sortie}
        COMMAND ${MAKENSIS} -V2 -DVERSION=${version} -DSORTIE=${sortie} -DGARDE=${objetGarde}
            -DFICHIERS=${fichiers} -DICONE=${ICONE} ${emballage}/vellorcup-display.nsi
        DEPENDS installateur-fichiers ${fichiers} vellorcup-display ${ICONE}
            ${emballage}/vellorcup-display.nsi
        VERBATIM)
endfunction()

find_program(MAKENSIS makensis)
if(MAKENSIS)
    set(INSTALLATEUR
        ${PROJECT_BINARY_DIR}/vellorcup-display-${PROJECT_VERSION}-win64-setup.exe)
    set(fichiers ${PROJECT_BINARY_DIR}/installateur-fichiers.nsh)
    set(emballage ${PROJECT_SOURCE_DIR}/packaging/windows)
    # What the station loads beyond its import table: the window system and the native style.
    set(plugins "")
    foreach(plugin QWindowsIntegrationPlugin QWindowsVistaStylePlugin)
        list(APPEND plugins $<TARGET_FILE:Qt${QT_VERSION_MAJOR}::${plugin}>)
    endforeach()
    # A running station holds its guard's marker, a mapping that Qt 5 names by the key's
    # letters and its SHA-1 (QSharedMemory's native key on Windows): the installer opens it to
    # know whether the station runs.
    string(REGEX REPLACE "[^A-Za-z]" "" lettres "${VELLOR_CLE_GARDE}2")
    string(SHA1 empreinte "${VELLOR_CLE_GARDE}2")
    set(objetGarde qipc_sharedmemory_${lettres}${empreinte})
    # CMAKE_OBJDUMP is MinGW's, found from the compilers' prefix: it reads the import tables.
    add_custom_command(OUTPUT ${fichiers}
        COMMAND ${CMAKE_COMMAND} -DPROGRAMME=$<TARGET_FILE:vellorcup-display> "-DPLUGINS=${plugins}"
            -DDOSSIERS=${VELLOR_DLL} -DCMAKE_OBJDUMP=${CMAKE_OBJDUMP}
            -DLIENS=${PROJECT_BINARY_DIR}/installateur-dll -DSORTIE=${fichiers}
            -P ${emballage}/fichiers.cmake
        DEPENDS vellorcup-display ${plugins} ${emballage}/fichiers.cmake
        VERBATIM)
    add_custom_target(installateur-fichiers DEPENDS ${fichiers})
    installateur_nsis(${INSTALLATEUR} ${PROJECT_VERSION})
    add_custom_target(installateur ALL DEPENDS ${INSTALLATEUR})
endif()
