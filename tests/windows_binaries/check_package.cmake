# Makes the zip with cpack into a scratch folder and checks what a Windows user unpacks from it:
# exactly the library, the program, the binding jar and its Javadoc, in one top folder, with the
# binaries passing the same checks as in the build tree.
#
#   cmake -DCPACK=<cpack> -DCONFIG=<CPackConfig.cmake> -DWORK_DIR=<scratch folder>
#         -DTOP_DIR=<the zip's top folder> -DCHECK_BINARY=<check_binary.cmake> -DOBJDUMP=<objdump>
#         -DLIBRARY_ARGUMENTS=<its arguments> -DPROGRAM_ARGUMENTS=<its arguments>
#         -P check_package.cmake

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
execute_process(COMMAND "${CPACK}" --config "${CONFIG}" -B "${WORK_DIR}"
  OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()

file(GLOB zips "${WORK_DIR}/*.zip")
list(LENGTH zips zip_count)
if(NOT zip_count EQUAL 1)
  message(FATAL_ERROR "cpack made ${zip_count} zips, not one: ${zips}")
endif()
set(unpacked "${WORK_DIR}/unpacked")
file(ARCHIVE_EXTRACT INPUT "${zips}" DESTINATION "${unpacked}")
file(GLOB_RECURSE contents LIST_DIRECTORIES false RELATIVE "${unpacked}" "${unpacked}/*")
list(SORT contents)
set(expected "${TOP_DIR}/Ramtally.exe" "${TOP_DIR}/scanlink32.dll" "${TOP_DIR}/twainex.jar"
  "${TOP_DIR}/twainex-javadoc.jar")
list(SORT expected)
if(NOT contents STREQUAL expected)
  message(FATAL_ERROR "the zip holds [${contents}], not [${expected}]")
endif()

# The jar is a zip too; the binding class must be in it.
set(jar_contents "${WORK_DIR}/jar")
file(ARCHIVE_EXTRACT INPUT "${unpacked}/${TOP_DIR}/twainex.jar" DESTINATION "${jar_contents}")
if(NOT EXISTS "${jar_contents}/QZ/korvel/twain/TwainEx.class")
  message(FATAL_ERROR "twainex.jar holds no QZ/korvel/twain/TwainEx.class")
endif()

# The Javadoc jar opens on the binding's overview.
set(javadoc_contents "${WORK_DIR}/javadoc")
file(ARCHIVE_EXTRACT INPUT "${unpacked}/${TOP_DIR}/twainex-javadoc.jar"
  DESTINATION "${javadoc_contents}")
if(NOT EXISTS "${javadoc_contents}/QZ/korvel/twain/ScanSession.html")
  message(FATAL_ERROR "twainex-javadoc.jar holds no page for QZ.korvel.twain.ScanSession")
endif()

set(failed FALSE)
foreach(binary IN ITEMS library program)
  if(binary STREQUAL "library")
    set(file "${unpacked}/${TOP_DIR}/scanlink32.dll")
    set(arguments ${LIBRARY_ARGUMENTS})
  else()
    set(file "${unpacked}/${TOP_DIR}/Ramtally.exe")
    set(arguments ${PROGRAM_ARGUMENTS})
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -DOBJDUMP=${OBJDUMP} -DBINARY=${file} ${arguments}
    -P "${CHECK_BINARY}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    set(failed TRUE)
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "a binary in the zip fails its check")
endif()
