# Configures tests/sousprojet against this source tree, builds its one executable and runs
# it. Given: RACINE (our sources), DOSSIER (its build folder), GENERATEUR, COMPILATEUR,
# QT (5 or 6), QT_DIR (the Qt package folder).
set(source ${CMAKE_CURRENT_LIST_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} -S ${source} -B ${DOSSIER} -G "${GENERATEUR}"
    -DCMAKE_CXX_COMPILER=${COMPILATEUR} -DVELLOR_RACINE=${RACINE} -DVELLOR_QT=${QT}
    -DQt${QT}_DIR=${QT_DIR}
    RESULT_VARIABLE echec)
if(echec)
    message(FATAL_ERROR "la configuration du projet englobant a échoué")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${DOSSIER} --target englobant -j2
    RESULT_VARIABLE echec)
if(echec)
    message(FATAL_ERROR "la construction de englobant a échoué")
endif()
find_program(englobant englobant PATHS ${DOSSIER} ${DOSSIER}/Debug NO_DEFAULT_PATH)
execute_process(COMMAND ${englobant} OUTPUT_VARIABLE sortie RESULT_VARIABLE echec)
message(STATUS "englobant : ${sortie}")
if(echec OR NOT sortie MATCHES "^Vellor's Cup Display V[0-9.]+\\|Coupe du voisin\n$")
    message(FATAL_ERROR "englobant ne montre pas le titre de la station et la coupe décodée")
endif()
