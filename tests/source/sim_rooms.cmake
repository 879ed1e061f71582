# The simulator's rooms under sim/app/ stand on one another in one order: the trace and the
# report at the bottom, then the run, the checks, the sweeps, and main.cpp above them all. A
# room may include its own headers and those of the rooms below it, never one above: that is
# what keeps each a library that links only what is under it. Run with -DSOURCE_DIR=<repository>.
cmake_minimum_required(VERSION 3.25)

set(rooms trace report run checks sweep)
# What each room may include, besides itself.
set(below_trace "")
set(below_report "")
set(below_run trace report)
set(below_checks trace report run)
set(below_sweep trace report run checks)

file(GLOB folders LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR}/sim/app ${SOURCE_DIR}/sim/app/*)
foreach(folder IN LISTS folders)
    if(IS_DIRECTORY ${SOURCE_DIR}/sim/app/${folder} AND NOT folder IN_LIST rooms)
        message(FATAL_ERROR "sim/app/${folder} is not one of the rooms (${rooms}): give it "
                            "its place in this order and a library in sim/CMakeLists.txt")
    endif()
endforeach()

set(offenders "")
set(checked 0)
foreach(room IN LISTS rooms)
    file(GLOB sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/sim/app/${room}/*.cpp
         ${SOURCE_DIR}/sim/app/${room}/*.h ${SOURCE_DIR}/sim/app/${room}/*.in)
    foreach(source IN LISTS sources)
        math(EXPR checked "${checked} + 1")
        file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^#include \"sim/app/")
        foreach(include IN LISTS includes)
            string(REGEX REPLACE "^#include \"sim/app/([a-z_]+)/.*" "\\1" target "${include}")
            if(NOT target STREQUAL room AND NOT target IN_LIST below_${room})
                string(APPEND offenders "\n  ${source}: ${include}")
            endif()
        endforeach()
    endforeach()
endforeach()
if(checked LESS 30)
    message(FATAL_ERROR "found only ${checked} files in the simulator's rooms")
endif()
if(offenders)
    message(FATAL_ERROR "an include runs up the simulator's rooms (${rooms}, bottom first):"
                        "${offenders}")
endif()
message(STATUS "${checked} files of the simulator's rooms include only downward")
