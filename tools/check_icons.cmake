# Runs make_icons into an empty folder and fails unless it writes exactly the
# committed icons, byte for byte.
#
#   cmake -DMAKE_ICONS=<program> -DOUTPUT_DIR=<scratch folder> -DCOMMITTED_DIR=<res/icons> -P check_icons.cmake

file(REMOVE_RECURSE "${OUTPUT_DIR}")
file(MAKE_DIRECTORY "${OUTPUT_DIR}")
execute_process(COMMAND "${MAKE_ICONS}" "${OUTPUT_DIR}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "make_icons failed: ${result}")
endif()

file(GLOB drawn RELATIVE "${OUTPUT_DIR}" "${OUTPUT_DIR}/*")
file(GLOB committed RELATIVE "${COMMITTED_DIR}" "${COMMITTED_DIR}/*.ico")
list(SORT drawn)
list(SORT committed)
if(NOT drawn STREQUAL committed)
    message(FATAL_ERROR "make_icons draws [${drawn}] but res/icons holds [${committed}]")
endif()

set(stale "")
foreach(name IN LISTS drawn)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTPUT_DIR}/${name}" "${COMMITTED_DIR}/${name}"
        RESULT_VARIABLE different)
    if(different)
        list(APPEND stale "${name}")
    endif()
endforeach()
if(stale)
    message(FATAL_ERROR "Not what make_icons draws: ${stale}. Build the update_icons target and commit the result.")
endif()
