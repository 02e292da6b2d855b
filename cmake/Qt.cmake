# Finds Qt 6 or Qt 5 and names the chosen one once: QT_VERSION_MAJOR, then Qt::Core and the
# other versionless targets.
set(qtMinimum_5 5.12)
set(qtMinimum_6 6.4)
if(VELLOR_QT)
    if(NOT VELLOR_QT MATCHES "^[56]$")
        message(FATAL_ERROR "VELLOR_QT vaut 5 ou 6, pas « ${VELLOR_QT} »")
    endif()
    find_package(QT NAMES Qt${VELLOR_QT} REQUIRED COMPONENTS Core)
else()
    find_package(QT NAMES Qt6 Qt5 REQUIRED COMPONENTS Core)
endif()
find_package(Qt${QT_VERSION_MAJOR} ${qtMinimum_${QT_VERSION_MAJOR}} REQUIRED
    COMPONENTS Core Gui Widgets Network Test)
# QtDBus only keeps the screens awake on Unix desktops: the station builds without it.
find_package(Qt${QT_VERSION_MAJOR} QUIET OPTIONAL_COMPONENTS DBus)
message(STATUS "Qt ${Qt${QT_VERSION_MAJOR}_VERSION}")

# Qt 5.15 has the versionless targets; 5.12 to 5.14 get them here.
foreach(module Core Gui Widgets Network Test DBus)
    if(TARGET Qt${QT_VERSION_MAJOR}::${module} AND NOT TARGET Qt::${module})
        add_library(Qt::${module} INTERFACE IMPORTED)
        set_target_properties(Qt::${module} PROPERTIES
            INTERFACE_LINK_LIBRARIES Qt${QT_VERSION_MAJOR}::${module})
    endif()
endforeach()
