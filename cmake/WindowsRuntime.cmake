# Copies into BIN what the Windows programs load at run time: the DLLs of the libraries the
# library script built (PREFIXES), the Qt plugins they need, mingw's runtime DLLs and the
# report fonts Windows does not have, with their licences.
#   cmake -DPREFIXES=a;b -DBIN=dir -P WindowsRuntime.cmake

function(copy_into folder)
    file(MAKE_DIRECTORY ${folder})
    foreach(file ${ARGN})
        execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${folder}
            COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
endfunction()

set(plugins platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qico.dll
    sqldrivers/qsqlite.dll)
foreach(prefix ${PREFIXES})
    file(GLOB dlls ${prefix}/bin/*.dll)
    copy_into(${BIN} ${dlls})
    foreach(plugin ${plugins})
        if(EXISTS ${prefix}/plugins/${plugin})
            get_filename_component(kind ${plugin} DIRECTORY)
            copy_into(${BIN}/${kind} ${prefix}/plugins/${plugin})
        endif()
    endforeach()
endforeach()

set(mingw /usr/lib/gcc/x86_64-w64-mingw32/12-posix)
copy_into(${BIN} ${mingw}/libstdc++-6.dll ${mingw}/libgcc_s_seh-1.dll
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)

# The faces the reports' fonts are replaced with where Windows lacks them (see
# FontSubstitutes.cpp), from Debian's font packages.
set(fonts /usr/share/fonts)
set(liberation ${fonts}/truetype/liberation)
set(urw ${fonts}/opentype/urw-base35)
set(dejavu ${fonts}/truetype/dejavu)
copy_into(${BIN}/fonts
    ${liberation}/LiberationSans-Regular.ttf ${liberation}/LiberationSans-Bold.ttf
    ${liberation}/LiberationSans-Italic.ttf ${liberation}/LiberationSans-BoldItalic.ttf
    ${liberation}/LiberationSerif-Regular.ttf ${liberation}/LiberationSerif-Bold.ttf
    ${liberation}/LiberationSerif-Italic.ttf ${liberation}/LiberationSerif-BoldItalic.ttf
    ${urw}/P052-Roman.otf ${urw}/P052-Bold.otf ${urw}/P052-Italic.otf ${urw}/P052-BoldItalic.otf
    ${urw}/URWGothic-Book.otf ${urw}/URWGothic-Demi.otf ${urw}/URWGothic-BookOblique.otf
    ${urw}/URWGothic-DemiOblique.otf
    ${dejavu}/DejaVuSans.ttf ${dejavu}/DejaVuSans-Bold.ttf ${dejavu}/DejaVuSerif.ttf
    ${dejavu}/DejaVuSerif-Bold.ttf)
foreach(package fonts-liberation fonts-urw-base35 fonts-dejavu-core)
    configure_file(/usr/share/doc/${package}/copyright ${BIN}/fonts/${package}-copyright.txt
        COPYONLY)
endforeach()
