# Each layer sees its own folder and those of the layers it links, nothing above: its
# include root holds a link to its folder only, so "#include "app/..."" from core, network
# or windows finds no file and the build stops there.
function(exposer_couche cible dossier)
    set(racine ${PROJECT_BINARY_DIR}/racines/${dossier})
    set(lien ${racine}/${dossier})
    if(NOT EXISTS ${lien})
        file(MAKE_DIRECTORY ${racine})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${dossier} ${lien} RESULT echec SYMBOLIC)
        if(echec)
            # No symbolic links here (Windows without the right): builds, unchecked.
            set(racine ${PROJECT_SOURCE_DIR})
        endif()
    endif()
    target_include_directories(${cible} PUBLIC ${racine})
endfunction()
