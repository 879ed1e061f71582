# The plug-in's layers, each a library of its own that sees only its own headers and those of
# the layers below it: an include that runs upward does not build ("No such file or
# directory"). Each layer's view is a folder of links in the build tree
# (<build>/layers/<layer>/<path of each header>), and the view is the layer's only include
# folder, so the source folder's layout stays as it is.
#
# tarrowind_layer(<name> SOURCES <file>... HEADERS <file>... [SEES_ALL])
#   Layers are declared bottom first; each sees every layer declared before it. Paths are
#   relative to the source folder; SOURCES may also name generated files by absolute path.
#   SEES_ALL: generated code that lists what is above it (the encounter catalogue).

set_property(GLOBAL PROPERTY TARROWIND_LAYER_HEADERS "")
set_property(GLOBAL PROPERTY TARROWIND_LAYERS "")

function(tarrowind_link_headers view)
    foreach(header IN LISTS ARGN)
        get_filename_component(folder ${view}/${header} DIRECTORY)
        file(MAKE_DIRECTORY ${folder})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${header} ${view}/${header} SYMBOLIC)
    endforeach()
endfunction()

function(tarrowind_layer name)
    cmake_parse_arguments(PARSE_ARGV 1 layer "SEES_ALL" "" "SOURCES;HEADERS")
    get_property(below GLOBAL PROPERTY TARROWIND_LAYER_HEADERS)
    set(view ${CMAKE_BINARY_DIR}/layers/${name})
    file(REMOVE_RECURSE ${view})
    if(layer_SEES_ALL)
        file(GLOB_RECURSE everything RELATIVE ${CMAKE_SOURCE_DIR} CONFIGURE_DEPENDS
             ${CMAKE_SOURCE_DIR}/host/*.h ${CMAKE_SOURCE_DIR}/core/*.h
             ${CMAKE_SOURCE_DIR}/world/*.h ${CMAKE_SOURCE_DIR}/encounters/*.h
             ${CMAKE_SOURCE_DIR}/weather/*.h ${CMAKE_SOURCE_DIR}/scheduling/*.h
             ${CMAKE_SOURCE_DIR}/platform/*.h)
        list(REMOVE_DUPLICATES everything)
        tarrowind_link_headers(${view} ${everything})
    else()
        tarrowind_link_headers(${view} ${below} ${layer_HEADERS})
    endif()
    set_property(GLOBAL APPEND PROPERTY TARROWIND_LAYER_HEADERS ${layer_HEADERS})

    set(sources "")
    foreach(source IN LISTS layer_SOURCES)
        if(IS_ABSOLUTE ${source})
            list(APPEND sources ${source})
        else()
            list(APPEND sources ${CMAKE_SOURCE_DIR}/${source})
        endif()
    endforeach()
    add_library(tarrowind_layer_${name} OBJECT ${sources})
    target_include_directories(tarrowind_layer_${name} PRIVATE ${view})
    tarrowind_set_warnings(tarrowind_layer_${name})
    if(WIN32)
        # Script fibers have small stacks that the plug-in does not choose.
        target_compile_options(tarrowind_layer_${name} PRIVATE -Werror=frame-larger-than=16384)
        # No folder the release was built in ends up in it (__FILE__, debug information): the
        # build folder's own prefix last, as it may lie inside the source folder and wins then.
        target_compile_options(tarrowind_layer_${name} PRIVATE
                               -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
                               -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
    endif()
    set_property(GLOBAL APPEND PROPERTY TARROWIND_LAYERS ${name})
endfunction()

# Files of a folder by pattern, relative to the source folder, less those named after EXCEPT.
function(tarrowind_files out)
    cmake_parse_arguments(PARSE_ARGV 1 files "" "" "EXCEPT")
    list(TRANSFORM files_UNPARSED_ARGUMENTS PREPEND ${CMAKE_SOURCE_DIR}/)
    file(GLOB found RELATIVE ${CMAKE_SOURCE_DIR} CONFIGURE_DEPENDS ${files_UNPARSED_ARGUMENTS})
    if(files_EXCEPT)
        list(REMOVE_ITEM found ${files_EXCEPT})
    endif()
    set(${out} ${found} PARENT_SCOPE)
endfunction()
