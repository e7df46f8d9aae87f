# The Access reader's library, as the target kelvara_mdb: Debian's mdbtools (system, the
# default), or the older libmdb that scripts/windows/mdb.sh builds from kexi's copy over the
# project's GLib stand-in into KELVARA_MDB_PREFIX (bundled: the Windows build, and a
# developer's check of that reader on Linux).
set(KELVARA_MDB system CACHE STRING "Access reader library: system or bundled")
set_property(CACHE KELVARA_MDB PROPERTY STRINGS system bundled)
set(KELVARA_MDB_PREFIX "" CACHE PATH "Where scripts/windows/mdb.sh installed the bundled reader")

if(TARGET kelvara_mdb)
    return()
endif()
add_library(kelvara_mdb INTERFACE)
if(KELVARA_MDB STREQUAL bundled)
    # Searched only in the prefix, also when cross-compiling with a find root.
    find_path(KELVARA_MDB_INCLUDE_DIR mdbtools.h PATHS ${KELVARA_MDB_PREFIX}/include
        NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    find_library(KELVARA_MDB_LIBRARY NAMES libmdb.a PATHS ${KELVARA_MDB_PREFIX}/lib
        NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    # The library is static: BUILDING_LIBMDB keeps Windows' dllimport off its declarations.
    target_include_directories(kelvara_mdb SYSTEM BEFORE INTERFACE ${KELVARA_MDB_INCLUDE_DIR})
    target_link_libraries(kelvara_mdb INTERFACE ${KELVARA_MDB_LIBRARY})
    target_compile_definitions(kelvara_mdb INTERFACE KELVARA_MDB_BUNDLED BUILDING_LIBMDB=1)
elseif(KELVARA_MDB STREQUAL system)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(LIBMDB REQUIRED IMPORTED_TARGET libmdb)
    target_link_libraries(kelvara_mdb INTERFACE PkgConfig::LIBMDB)
else()
    message(FATAL_ERROR "KELVARA_MDB is system or bundled, not ${KELVARA_MDB}")
endif()
