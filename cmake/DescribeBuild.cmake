# What a build of the source folder is, from git: its description as the log and the DLL's
# version resource give it, and its date (seconds since 1970) for the release zip's entries.
#   tarrowind_describe_build(SOURCE_DIR BINARY_DIR VERSION OUT_DESCRIPTION OUT_EPOCH)
# gives "0.1.0 (a31eb1e)" for a clean checkout of commit a31eb1e..., "0.1.0 (a31eb1e, with
# uncommitted changes)" when a tracked file differs from the commit or a file git does not
# ignore is new (the build picks up new sources by pattern), and "0.1.0 (not from a git
# checkout)" when the source folder is not the top of a git work tree. The build folder, when
# it lies inside the source folder, does not count as a change.
#
# The date is the commit's; without a commit, SOURCE_DATE_EPOCH if set, else 1980-01-01 (the
# earliest time a zip entry can hold). Never the clock: two builds of one source must agree.
set(TARROWIND_EPOCH_WITHOUT_COMMIT 315532800)

function(tarrowind_describe_build source_dir binary_dir version out_description out_epoch)
    # A build run from a git command (a rebase's --exec, a hook) must still ask this folder.
    unset(ENV{GIT_DIR})
    unset(ENV{GIT_WORK_TREE})
    unset(ENV{GIT_INDEX_FILE})
    find_program(TARROWIND_GIT git)
    if(NOT TARROWIND_GIT)
        set(${out_description} "${version} (commit unknown: git not found)" PARENT_SCOPE)
        set(${out_epoch} ${TARROWIND_EPOCH_WITHOUT_COMMIT} PARENT_SCOPE)
        return()
    endif()
    # Building the folder already trusts its code, so its repository is trusted too, whoever
    # owns it. --no-optional-locks: asking must not write the index another git may hold.
    set(git ${TARROWIND_GIT} -C ${source_dir} -c safe.directory=${source_dir}
            --no-optional-locks)

    execute_process(COMMAND ${git} rev-parse --show-cdup HEAD RESULT_VARIABLE not_a_checkout
                    OUTPUT_VARIABLE lines ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    # Two lines: the way up to the top of the work tree (none at the top), then the commit.
    if(NOT not_a_checkout AND lines MATCHES "^\n?([0-9a-f]+)$")
        set(commit ${CMAKE_MATCH_1})
    else()
        set(epoch ${TARROWIND_EPOCH_WITHOUT_COMMIT})
        if(DEFINED ENV{SOURCE_DATE_EPOCH} AND "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
            set(epoch $ENV{SOURCE_DATE_EPOCH})
        endif()
        set(${out_description} "${version} (not from a git checkout)" PARENT_SCOPE)
        set(${out_epoch} ${epoch} PARENT_SCOPE)
        return()
    endif()

    # A fixed length, not git's shortest unique one, which grows with the clone's objects.
    string(SUBSTRING ${commit} 0 7 short)
    execute_process(COMMAND ${git} log -1 --format=%ct ${commit} OUTPUT_VARIABLE epoch
                    OUTPUT_STRIP_TRAILING_WHITESPACE)

    set(pathspec .)
    file(RELATIVE_PATH build_in_source ${source_dir} ${binary_dir})
    if(build_in_source AND NOT build_in_source MATCHES "^\\.\\./")
        list(APPEND pathspec ":(exclude)${build_in_source}")
    endif()
    execute_process(COMMAND ${git} status --porcelain --untracked-files=normal -- ${pathspec}
                    RESULT_VARIABLE status_failed OUTPUT_VARIABLE changes ERROR_VARIABLE error)
    if(status_failed)
        message(FATAL_ERROR "git status failed in ${source_dir}: ${error}")
    endif()
    if(changes STREQUAL "")
        set(${out_description} "${version} (${short})" PARENT_SCOPE)
    else()
        set(${out_description} "${version} (${short}, with uncommitted changes)" PARENT_SCOPE)
    endif()
    set(${out_epoch} ${epoch} PARENT_SCOPE)
endfunction()
