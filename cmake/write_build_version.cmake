# Run on every build: names the build (DescribeBuild.cmake) in the files that carry it,
#   cmake -DSOURCE_DIR=<repository> -DBINARY_DIR=<build folder> -DVERSION=<x.y.z>
#         [-DRC_TEMPLATE=<version.rc.in> -DRC_OUTPUT=<file.rc>] -P write_build_version.cmake
# writing BINARY_DIR/generated/build_version.cpp (the text the log's version line gives),
# BINARY_DIR/generated/build_info.cmake (for the packaging script) and, for the Windows build,
# the DLL's version resource. A file is rewritten only when its text changes, so a build of an
# unchanged tree rebuilds nothing and a new commit recompiles one source and relinks.
cmake_minimum_required(VERSION 3.25)
foreach(required SOURCE_DIR BINARY_DIR VERSION)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "write_build_version.cmake needs -D${required}=...")
    endif()
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/DescribeBuild.cmake)

tarrowind_describe_build(${SOURCE_DIR} ${BINARY_DIR} ${VERSION} TARROWIND_BUILD_DESCRIPTION
                         TARROWIND_SOURCE_EPOCH)
string(REPLACE "." ";" numbers ${VERSION})
list(GET numbers 0 TARROWIND_VERSION_MAJOR)
list(GET numbers 1 TARROWIND_VERSION_MINOR)
list(GET numbers 2 TARROWIND_VERSION_PATCH)
set(TARROWIND_VERSION ${VERSION})

set(generated ${BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/build_version.cpp.in ${generated}/build_version.cpp
               @ONLY)
file(CONFIGURE OUTPUT ${generated}/build_info.cmake @ONLY CONTENT [[
# Written by cmake/write_build_version.cmake on every build that changes it.
set(TARROWIND_VERSION "@TARROWIND_VERSION@")
set(TARROWIND_BUILD_DESCRIPTION "@TARROWIND_BUILD_DESCRIPTION@")
set(TARROWIND_SOURCE_EPOCH @TARROWIND_SOURCE_EPOCH@)
]])
if(DEFINED RC_TEMPLATE)
    configure_file(${RC_TEMPLATE} ${RC_OUTPUT} @ONLY)
endif()
