# Writes the release zip a player unpacks into the game folder:
#   cmake -DASI=<Tarrowind.asi> -DSOURCE_DIR=<repository> -DVERSION=<x.y.z>
#         -DOUTPUT_DIR=<folder> -P make_package.cmake
# giving OUTPUT_DIR/Tarrowind-<version>.zip with Tarrowind.asi, Tarrowind/Tarrowind.ini,
# the empty Tarrowind/logs/ folder (the plug-in never creates it) and README.txt. Text files
# get Windows line endings.
foreach(required ASI SOURCE_DIR VERSION OUTPUT_DIR)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "make_package.cmake needs -D${required}=...")
    endif()
endforeach()
if(NOT EXISTS "${ASI}")
    message(FATAL_ERROR "no plug-in at '${ASI}': build the windows preset first")
endif()
find_program(ZIP zip REQUIRED)

set(package_name Tarrowind-${VERSION})
set(staging ${OUTPUT_DIR}/${package_name}.staging)
set(zip_file ${OUTPUT_DIR}/${package_name}.zip)
file(REMOVE_RECURSE ${staging})
file(REMOVE ${zip_file})
file(MAKE_DIRECTORY ${staging}/Tarrowind/logs)

function(write_with_crlf source destination)
    file(READ ${source} text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${destination} "${text}")
endfunction()

file(COPY_FILE ${ASI} ${staging}/Tarrowind.asi)
write_with_crlf(${SOURCE_DIR}/packaging/Tarrowind.ini ${staging}/Tarrowind/Tarrowind.ini)
set(TARROWIND_VERSION ${VERSION})
configure_file(${SOURCE_DIR}/packaging/README.txt.in ${staging}/README.txt.lf @ONLY)
write_with_crlf(${staging}/README.txt.lf ${staging}/README.txt)
file(REMOVE ${staging}/README.txt.lf)

execute_process(COMMAND ${ZIP} -q -r -X ${zip_file} Tarrowind.asi README.txt Tarrowind
                WORKING_DIRECTORY ${staging} RESULT_VARIABLE zipped)
if(NOT zipped EQUAL 0)
    message(FATAL_ERROR "could not write ${zip_file}")
endif()
file(REMOVE_RECURSE ${staging})
message(STATUS "Wrote ${zip_file}")
