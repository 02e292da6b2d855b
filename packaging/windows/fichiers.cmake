# Writes, as NSIS commands, what the installer puts in place: the program, the Qt plug-ins it
# loads (each in its folder), and every DLL they need, as CMake's runtime-dependency
# resolution finds them through their import tables in the build's DLL folders:
#   cmake -DPROGRAMME=… -DPLUGINS=… -DDOSSIERS=d1:d2 -DCMAKE_OBJDUMP=… -DLIENS=… -DSORTIE=…
#         -P fichiers.cmake
# Windows' own DLLs stay out; any other that no folder holds fails the installer's build.
cmake_minimum_required(VERSION 3.18)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)

# CMake before 3.27 looks a DLL up by its name in lowercase, which a case-sensitive file
# system does not hold (Qt5Core.dll): a folder of lowercase links to the DLLs comes first,
# the first folder's DLL winning as on WINEPATH.
string(REPLACE ":" ";" dossiers "${DOSSIERS}")
file(REMOVE_RECURSE ${LIENS})
file(MAKE_DIRECTORY ${LIENS})
foreach(dossier ${dossiers})
    file(GLOB dlls ${dossier}/*.dll)
    foreach(dll ${dlls})
        get_filename_component(nom ${dll} NAME)
        string(TOLOWER ${nom} nom)
        if(NOT EXISTS ${LIENS}/${nom})
            file(CREATE_LINK ${dll} ${LIENS}/${nom} SYMBOLIC)
        endif()
    endforeach()
endforeach()

# Windows' own DLLs, which every Windows holds (CMake matches the names in lowercase).
set(systeme "^(api|ext)-ms-win-"
    "^(advapi32|crypt32|d3d11|dnsapi|dwmapi|dxgi|gdi32|imm32|iphlpapi|kernel32|mpr|msvcrt)\\.dll$"
    "^(netapi32|ole32|oleaut32|shell32|user32|userenv|uxtheme|version|winmm|ws2_32|wtsapi32)\\.dll$")

file(GET_RUNTIME_DEPENDENCIES
    EXECUTABLES ${PROGRAMME}
    MODULES ${PLUGINS}
    DIRECTORIES ${LIENS} ${dossiers}
    PRE_EXCLUDE_REGEXES ${systeme}
    RESOLVED_DEPENDENCIES_VAR dlls
    CONFLICTING_DEPENDENCIES_PREFIX conflit)
# A DLL found in two folders: which one Windows loads depends on who asks first.
if(conflit_FILENAMES)
    message(FATAL_ERROR "DLL trouvées en plusieurs exemplaires : ${conflit_FILENAMES}")
endif()

file(WRITE ${SORTIE} "File \"${PROGRAMME}\"\n")
foreach(dll ${dlls})
    get_filename_component(dossier ${dll} DIRECTORY)
    if(dossier STREQUAL LIENS)
        file(READ_SYMLINK ${dll} dll)
    endif()
    list(APPEND fichiers ${dll})
endforeach()
list(SORT fichiers)
foreach(dll ${fichiers})
    file(APPEND ${SORTIE} "File \"${dll}\"\n")
endforeach()
foreach(plugin ${PLUGINS})
    get_filename_component(dossier ${plugin} DIRECTORY)
    get_filename_component(dossier ${dossier} NAME)
    file(APPEND ${SORTIE} "SetOutPath \"\$INSTDIR\\${dossier}\"\nFile \"${plugin}\"\n")
endforeach()
file(APPEND ${SORTIE} "SetOutPath \"\$INSTDIR\"\n")
