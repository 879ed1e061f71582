# Writes the release zip a player unpacks into the game folder:
#   cmake -DASI=<Tarrowind.asi> -DSOURCE_DIR=<repository> -DBUILD_INFO=<build_info.cmake>
#         -DOUTPUT_DIR=<folder> -P make_package.cmake
# giving OUTPUT_DIR/Tarrowind-<version>.zip with Tarrowind.asi, Tarrowind/Tarrowind.ini,
# the empty Tarrowind/logs/ folder (the plug-in never creates it) and README.txt, and beside it
# Tarrowind-<version>.sha256: the SHA-256 of the DLL and of the zip, as `sha256sum -c` reads
# them. BUILD_INFO is the build folder's generated/build_info.cmake (the version, the build's
# name and its commit's date); the generated INI and settings table are read from beside it.
# Text files get Windows line endings.
#
# The zip's bytes depend on the source alone, not on where, when or by whom it is built:
# entries in a fixed order, each dated with the commit, with fixed permissions and no extra
# fields (owner, time zone).
cmake_minimum_required(VERSION 3.25)
foreach(required ASI SOURCE_DIR BUILD_INFO OUTPUT_DIR)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "make_package.cmake needs -D${required}=...")
    endif()
endforeach()
if(NOT EXISTS "${ASI}")
    message(FATAL_ERROR "no plug-in at '${ASI}': build the windows preset first")
endif()
include(${BUILD_INFO})
find_program(ZIP zip REQUIRED)
find_program(TOUCH touch REQUIRED)

set(package_name Tarrowind-${TARROWIND_VERSION})
set(staging ${OUTPUT_DIR}/${package_name}.staging)
set(zip_file ${OUTPUT_DIR}/${package_name}.zip)
set(sums_file ${OUTPUT_DIR}/${package_name}.sha256)
file(REMOVE_RECURSE ${staging})
file(REMOVE ${zip_file} ${sums_file})
file(MAKE_DIRECTORY ${staging}/Tarrowind/logs)

function(write_with_crlf source destination)
    file(READ ${source} text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${destination} "${text}")
endfunction()

# The INI and the README's table of settings, generated beside BUILD_INFO from the settings
# table and the encounters' definitions (packaging/settings_text.cpp).
get_filename_component(generated ${BUILD_INFO} DIRECTORY)
foreach(file Tarrowind.ini settings_table.txt)
    if(NOT EXISTS ${generated}/packaging/${file})
        message(FATAL_ERROR "no ${generated}/packaging/${file}: build the windows preset first")
    endif()
endforeach()
file(READ ${generated}/packaging/settings_table.txt TARROWIND_SETTINGS_TABLE)
string(REGEX REPLACE "\n$" "" TARROWIND_SETTINGS_TABLE "${TARROWIND_SETTINGS_TABLE}")

file(COPY_FILE ${ASI} ${staging}/Tarrowind.asi)
write_with_crlf(${generated}/packaging/Tarrowind.ini ${staging}/Tarrowind/Tarrowind.ini)
configure_file(${SOURCE_DIR}/packaging/README.txt.in ${staging}/README.txt.lf @ONLY)
write_with_crlf(${staging}/README.txt.lf ${staging}/README.txt)
file(REMOVE ${staging}/README.txt.lf)

# Parents before their contents, as unzip wants them.
set(entries Tarrowind.asi README.txt Tarrowind/ Tarrowind/Tarrowind.ini Tarrowind/logs/)
foreach(entry IN LISTS entries)
    if(entry MATCHES "/$")
        file(CHMOD ${staging}/${entry} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
             GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    else()
        file(CHMOD ${staging}/${entry} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    endif()
    execute_process(COMMAND ${TOUCH} -d @${TARROWIND_SOURCE_EPOCH} ${staging}/${entry}
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
# Zip entries hold local time: UTC makes it the commit's date everywhere. ZIP and ZIPOPT are
# the user's default options to zip, unset so they cannot change the bytes.
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=ZIP --unset=ZIPOPT TZ=UTC
                        ${ZIP} -q -X ${zip_file} ${entries}
                WORKING_DIRECTORY ${staging} RESULT_VARIABLE zipped)
if(NOT zipped EQUAL 0)
    message(FATAL_ERROR "could not write ${zip_file}")
endif()
file(REMOVE_RECURSE ${staging})

file(SHA256 ${ASI} asi_sha256)
file(SHA256 ${zip_file} zip_sha256)
file(WRITE ${sums_file} "${asi_sha256}  Tarrowind.asi\n${zip_sha256}  ${package_name}.zip\n")
message(STATUS "Wrote ${zip_file} (Tarrowind ${TARROWIND_BUILD_DESCRIPTION})")
message(STATUS "Wrote ${sums_file}:")
message(STATUS "  ${asi_sha256}  Tarrowind.asi")
message(STATUS "  ${zip_sha256}  ${package_name}.zip")
if(NOT TARROWIND_BUILD_DESCRIPTION MATCHES "\\([0-9a-f]+\\)$")
    message(WARNING "Tarrowind ${TARROWIND_BUILD_DESCRIPTION} is not a commit as it stands: "
                    "nobody can rebuild this package byte for byte from its source")
endif()
