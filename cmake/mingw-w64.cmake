# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix threads, so that std::thread
# and std::mutex work as on Linux).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KELVARA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KELVARA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVARA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KELVARA_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${KELVARA_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${KELVARA_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")

# Libraries and headers come only from the mingw sysroot and the prefixes the library script
# built (CMAKE_PREFIX_PATH / CMAKE_FIND_ROOT_PATH); programs (moc, lrelease, ...) from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${KELVARA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The library script's prefixes: searched as roots of their own, and handed on to the checks
# CMake compiles while it configures.
if(NOT KELVARA_WINDOWS_PREFIXES)
    set(KELVARA_WINDOWS_PREFIXES "$ENV{KELVARA_WINDOWS_PREFIXES}")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${KELVARA_WINDOWS_PREFIXES})
list(APPEND CMAKE_PREFIX_PATH ${KELVARA_WINDOWS_PREFIXES})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KELVARA_WINDOWS_PREFIXES)
