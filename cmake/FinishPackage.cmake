# Run by cpack once it has made the zip, before it copies the zip to the build
# folder.
#
# cpack adds the staged files in the order the file system lists them, which on
# many file systems differs from machine to machine. The zip is written again
# here from the same staging folder, by the same archive writer, with the
# entries in name order, so that it depends on nothing but its contents.
# SOURCE_DATE_EPOCH, which CPackOptions.cmake has set, gives every entry's time.
file(GLOB names RELATIVE ${CPACK_TEMPORARY_DIRECTORY} ${CPACK_TEMPORARY_DIRECTORY}/*)
list(SORT names)
foreach(package ${CPACK_PACKAGE_FILES})
  file(REMOVE ${package})
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${package} --format=zip -- ${names}
                  WORKING_DIRECTORY ${CPACK_TEMPORARY_DIRECTORY} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Could not write ${package} again in name order.")
  endif()
endforeach()

# SHA256SUMS beside the package, in the form that `sha256sum -c` reads.
set(sums "")
foreach(package ${CPACK_PACKAGE_FILES})
  file(SHA256 ${package} hash)
  get_filename_component(name ${package} NAME)
  string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE ${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS "${sums}")
