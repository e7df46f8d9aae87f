# The Windows build (make windows): every program and test beside the DLLs it loads in
# bin/, each program with its version, product name and icon as Windows resources.

# The library script's prefixes come first, before the mingw sysroot's own copies.
set(ZLIB_ROOT ${KELVARA_WINDOWS_PREFIXES})
set(SQLite3_ROOT ${KELVARA_WINDOWS_PREFIXES})
set(pkgconfig "")
foreach(prefix ${KELVARA_WINDOWS_PREFIXES})
    list(APPEND pkgconfig ${prefix}/lib/pkgconfig)
endforeach()
string(REPLACE ";" ":" pkgconfig "${pkgconfig}")
set(ENV{PKG_CONFIG_LIBDIR} "${pkgconfig}")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Qt's DLLs load mingw's C++ runtime DLLs in any case; the programs share them rather than
# carrying a second copy linked in.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

set(KELVARA_WINDOWS_DIR ${CMAKE_SOURCE_DIR}/packaging/windows)
set(KELVARA_ICON ${CMAKE_BINARY_DIR}/windows/kelvara.ico)
find_program(KELVARA_ICOTOOL icotool REQUIRED)
set(icon_sizes 16 24 32 48 64 128)
list(TRANSFORM icon_sizes PREPEND ${CMAKE_SOURCE_DIR}/assets/icons/kelvara- OUTPUT_VARIABLE pngs)
list(TRANSFORM pngs APPEND .png)
add_custom_command(OUTPUT ${KELVARA_ICON}
    COMMAND ${KELVARA_ICOTOOL} -c -o ${KELVARA_ICON} ${pngs}
        --raw=${CMAKE_SOURCE_DIR}/assets/kelvara.png
    DEPENDS ${pngs} ${CMAKE_SOURCE_DIR}/assets/kelvara.png
    COMMENT "Making the program's icon")
# A custom command's output is seen only by targets of its own folder: the programs in other
# folders wait for this target instead.
add_custom_target(kelvara_windows_icon DEPENDS ${KELVARA_ICON})

# Version, product name and icon of one program.
function(kelvara_windows_resources target description)
    set(KELVARA_TARGET ${target})
    set(KELVARA_FILE_NAME ${target}.exe)
    set(KELVARA_DESCRIPTION "${description}")
    set(rc ${CMAKE_BINARY_DIR}/windows/${target}.rc)
    configure_file(${KELVARA_WINDOWS_DIR}/version.rc.in ${rc} @ONLY)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${KELVARA_ICON})
    target_sources(${target} PRIVATE ${rc})
    add_dependencies(${target} kelvara_windows_icon)
endfunction()

# Called once every target exists.
function(kelvara_windows_programs)
    set_target_properties(kelvara PROPERTIES WIN32_EXECUTABLE TRUE)
    kelvara_windows_resources(kelvara "Kelvara")
    kelvara_windows_resources(kelvara-initdb "Kelvara: membuat database")
    kelvara_windows_resources(kelvara-report "Kelvara: laporan ke PDF")
    kelvara_windows_resources(kelvara-import "Kelvara: impor database Access")
    kelvara_windows_resources(kelvara-user "Kelvara: pengguna")
    kelvara_windows_resources(kelvara-backup "Kelvara: cadangan database")

    # The DLLs, Qt plugins and report fonts the programs load, copied into bin/.
    add_custom_target(kelvara_windows_runtime ALL
        COMMAND ${CMAKE_COMMAND} "-DPREFIXES=${KELVARA_WINDOWS_PREFIXES}"
            -DBIN=${CMAKE_BINARY_DIR}/bin -P ${CMAKE_SOURCE_DIR}/cmake/WindowsRuntime.cmake
        COMMENT "Copying the DLLs, plugins and fonts the programs load"
        VERBATIM)
endfunction()
