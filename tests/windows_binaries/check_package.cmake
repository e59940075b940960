# Makes the zip with cpack into a scratch folder and checks what a Windows user unpacks from it:
# exactly both libraries, both bridge programs, the program, the binding jar and its Javadoc, in one top folder; a jar
# that carries the binding class and, at the binding's resource paths, the very libraries and
# bridge programs of the zip; a Javadoc jar with the binding's pages; binaries that pass the same checks as in their
# build trees; and, byte for byte, the files that the Wine tests ran.
#
#   cmake -DCPACK=<cpack> -DCONFIG=<CPackConfig.cmake> -DWORK_DIR=<scratch folder>
#         -DTOP_DIR=<the zip's top folder> -DCHECK_BINARY=<check_binary.cmake>
#         -DLIBRARY_32_ARGUMENTS=<check arguments> -DLIBRARY_64_ARGUMENTS=<check arguments>
#         -DPROGRAM_ARGUMENTS=<check arguments> -DBRIDGE_32_ARGUMENTS=<check arguments>
#         -DBRIDGE_64_ARGUMENTS=<check arguments> -DTESTED_FILES=<files the Wine tests ran>
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
set(expected "${TOP_DIR}/Ramtally.exe" "${TOP_DIR}/scanlink32.dll" "${TOP_DIR}/scanlink64.dll"
  "${TOP_DIR}/scanlink-bridge32.exe" "${TOP_DIR}/scanlink-bridge64.exe"
  "${TOP_DIR}/twainex.jar" "${TOP_DIR}/twainex-javadoc.jar")
list(SORT expected)
if(NOT contents STREQUAL expected)
  message(FATAL_ERROR "the zip holds [${contents}], not [${expected}]")
endif()
set(top "${unpacked}/${TOP_DIR}")

# The jar is a zip too: the binding class, and each library and bridge program where the binding
# looks for it.
set(jar_contents "${WORK_DIR}/jar")
file(ARCHIVE_EXTRACT INPUT "${top}/twainex.jar" DESTINATION "${jar_contents}")
if(NOT EXISTS "${jar_contents}/QZ/korvel/twain/TwainEx.class")
  message(FATAL_ERROR "twainex.jar holds no QZ/korvel/twain/TwainEx.class")
endif()
file(GLOB_RECURSE jar_natives LIST_DIRECTORIES false RELATIVE "${jar_contents}"
  "${jar_contents}/natives/*")
list(SORT jar_natives)
set(natives natives/windows-x86/scanlink32.dll natives/windows-x86_64/scanlink64.dll
  natives/windows-x86/scanlink-bridge32.exe natives/windows-x86_64/scanlink-bridge64.exe)
set(expected_natives ${natives})
list(SORT expected_natives)
if(NOT jar_natives STREQUAL expected_natives)
  message(FATAL_ERROR "twainex.jar holds the natives [${jar_natives}], not [${expected_natives}]")
endif()
foreach(native IN LISTS natives)
  get_filename_component(name "${native}" NAME)
  file(SHA256 "${jar_contents}/${native}" in_jar)
  file(SHA256 "${top}/${name}" in_zip)
  if(NOT in_jar STREQUAL in_zip)
    message(FATAL_ERROR "twainex.jar's ${native} differs from the zip's ${name}")
  endif()
endforeach()

# Each file that the Wine tests ran is the zip's file of that name.
foreach(tested IN LISTS TESTED_FILES)
  get_filename_component(name "${tested}" NAME)
  file(SHA256 "${tested}" ran)
  file(SHA256 "${top}/${name}" in_zip)
  if(NOT ran STREQUAL in_zip)
    message(FATAL_ERROR "the zip's ${name} differs from ${tested}, the file the Wine tests ran")
  endif()
endforeach()

# The Javadoc jar opens on the binding's classes.
set(javadoc_contents "${WORK_DIR}/javadoc")
file(ARCHIVE_EXTRACT INPUT "${top}/twainex-javadoc.jar" DESTINATION "${javadoc_contents}")
if(NOT EXISTS "${javadoc_contents}/QZ/korvel/twain/ScanSession.html")
  message(FATAL_ERROR "twainex-javadoc.jar holds no page for QZ.korvel.twain.ScanSession")
endif()

set(failed FALSE)
foreach(binary IN ITEMS scanlink32.dll scanlink64.dll scanlink-bridge32.exe scanlink-bridge64.exe
    Ramtally.exe)
  if(binary STREQUAL "scanlink32.dll")
    set(arguments ${LIBRARY_32_ARGUMENTS})
  elseif(binary STREQUAL "scanlink64.dll")
    set(arguments ${LIBRARY_64_ARGUMENTS})
  elseif(binary STREQUAL "scanlink-bridge32.exe")
    set(arguments ${BRIDGE_32_ARGUMENTS})
  elseif(binary STREQUAL "scanlink-bridge64.exe")
    set(arguments ${BRIDGE_64_ARGUMENTS})
  else()
    set(arguments ${PROGRAM_ARGUMENTS})
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -DBINARY=${top}/${binary} ${arguments}
    -P "${CHECK_BINARY}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    set(failed TRUE)
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "a binary in the zip fails its check")
endif()
