# Cross-builds the station for Windows x86-64 with Debian's MinGW-w64 (posix threads: the
# win32 model has no std::thread nor std::mutex). scripts/windows.sh gives the folders that
# hold Qt and the C libraries in CMAKE_PREFIX_PATH; the tests run under Wine
# (cmake/WindowsCroise.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(hoteMingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${hoteMingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${hoteMingw}-g++-posix)
set(CMAKE_RC_COMPILER ${hoteMingw}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${hoteMingw} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config must read the Windows libraries' .pc files, never the machine's own.
set(ENV{PKG_CONFIG_PATH} "")
set(librairiesPc "")
foreach(prefixe ${CMAKE_PREFIX_PATH})
    list(APPEND librairiesPc ${prefixe}/lib/pkgconfig)
endforeach()
string(REPLACE ";" ":" librairiesPc "${librairiesPc}")
set(ENV{PKG_CONFIG_LIBDIR} "${librairiesPc}")
