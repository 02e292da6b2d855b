# ressource_windows(CIBLE DESCRIPTION): gives a Windows program the station's icon
# (icones/vellorcup-display.ico, drawn by tools/icones), a version block from the project's
# version, and the manifest of packaging/windows/.
enable_language(RC)
set(PRODUIT "Vellor's Cup Display")
set(EDITEUR "Coupe des Vellor")
string(TIMESTAMP ANNEE "%Y" UTC)
set(ICONE ${PROJECT_SOURCE_DIR}/icones/vellorcup-display.ico)
set(versionParties ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} 0 0)
if(NOT "${PROJECT_VERSION_PATCH}" STREQUAL "")
    list(INSERT versionParties 2 ${PROJECT_VERSION_PATCH})
endif()
list(SUBLIST versionParties 0 4 versionParties)
string(JOIN "," VERSION_VIRGULES ${versionParties})
string(JOIN "." VERSION_POINTS ${versionParties})

function(ressource_windows cible description)
    set(NOM ${cible})
    set(DESCRIPTION "${description}")
    set(dossier ${CMAKE_CURRENT_BINARY_DIR}/ressource-${cible})
    set(MANIFESTE ${dossier}/${cible}.manifest)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/manifeste.xml.in ${MANIFESTE} @ONLY)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/ressource.rc.in ${dossier}/${cible}.rc
        @ONLY)
    target_sources(${cible} PRIVATE ${dossier}/${cible}.rc)
    set_property(SOURCE ${dossier}/${cible}.rc APPEND PROPERTY OBJECT_DEPENDS ${ICONE} ${MANIFESTE})
endfunction()
