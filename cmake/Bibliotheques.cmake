# The station's two C libraries. pkg-config finds them on Linux; without it (vcpkg on
# Windows, through its toolchain file) their header and library are looked up by name.
# Each becomes the imported target Vellor::<nom>.
find_package(PkgConfig QUIET)

# nom, pkg-config module, header, Debian package, then the library's file names.
function(trouver_bibliotheque nom module entete paquet)
    if(PKG_CONFIG_FOUND)
        pkg_check_modules(${nom} QUIET IMPORTED_TARGET ${module})
    endif()
    add_library(Vellor::${nom} INTERFACE IMPORTED)
    if(TARGET PkgConfig::${nom})
        set_target_properties(Vellor::${nom} PROPERTIES
            INTERFACE_LINK_LIBRARIES PkgConfig::${nom})
        return()
    endif()
    find_path(${nom}_ENTETES ${entete})
    find_library(${nom}_BIBLIOTHEQUE NAMES ${ARGN})
    if(NOT ${nom}_ENTETES OR NOT ${nom}_BIBLIOTHEQUE)
        message(FATAL_ERROR "${module} est introuvable : installez le paquet Debian ${paquet} "
            "(et pkg-config), ou lancez scripts/install-deps.sh ; sous Windows, le port "
            "vcpkg ${module} avec -DCMAKE_TOOLCHAIN_FILE=…/vcpkg.cmake.")
    endif()
    set_target_properties(Vellor::${nom} PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES ${${nom}_ENTETES}
        INTERFACE_LINK_LIBRARIES ${${nom}_BIBLIOTHEQUE})
endfunction()
