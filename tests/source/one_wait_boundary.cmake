# The plug-in yields to the game in one place only, host/script_wait.cpp, which closes the log
# file first: a direct call of the hook's scriptWait anywhere else in the plug-in's sources
# would let the game run with the file held. Run with -DSOURCE_DIR=<repository>.
cmake_minimum_required(VERSION 3.25)

set(allowed host/script_wait.cpp host/script_hook.h)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
     ${SOURCE_DIR}/host/*.cpp ${SOURCE_DIR}/host/*.h ${SOURCE_DIR}/core/*.cpp ${SOURCE_DIR}/core/*.h
     ${SOURCE_DIR}/scheduling/*.cpp ${SOURCE_DIR}/scheduling/*.h
     ${SOURCE_DIR}/world/*.cpp ${SOURCE_DIR}/world/*.h
     ${SOURCE_DIR}/encounters/*.cpp ${SOURCE_DIR}/encounters/*.h
     ${SOURCE_DIR}/weather/*.cpp ${SOURCE_DIR}/weather/*.h
     ${SOURCE_DIR}/platform/*.cpp ${SOURCE_DIR}/platform/*.h)
list(LENGTH sources count)
if(count LESS 20)
    message(FATAL_ERROR "found only ${count} plug-in sources under ${SOURCE_DIR}")
endif()
set(offenders "")
foreach(source IN LISTS sources)
    if(source IN_LIST allowed)
        continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${source} calls REGEX "scriptWait[ \t]*\\(")
    foreach(call IN LISTS calls)
        string(STRIP "${call}" call)
        string(APPEND offenders "\n  ${source}: ${call}")
    endforeach()
endforeach()
if(offenders)
    message(FATAL_ERROR "the hook's scriptWait called directly; call YieldToGame "
                        "(host/script_wait.h) instead:${offenders}")
endif()
message(STATUS "${count} plug-in sources: every wait goes through YieldToGame")
