# Makes the zip with cpack into a scratch folder and checks what a Windows user unpacks from it:
# exactly the files below in one top folder; a binding jar that carries the binding class and, at
# the binding's resource paths, the very libraries and bridge programs of the zip; its sources,
# Javadoc and pom under the Maven names of the coordinates; a runnable scan jar with the same
# libraries, bridge programs and PDFBox, which scan.cmd runs; the README and the licence; binaries
# that pass the same checks as in their build trees; and, byte for byte, the files that the Wine
# tests ran. Then the scan jar runs on the host against the virtual scanner, with the host build's
# library: the driver check, and a PDF scan.
#
#   cmake -DCPACK=<cpack> -DCONFIG=<CPackConfig.cmake> -DWORK_DIR=<scratch folder>
#         -DTOP_DIR=<the zip's top folder> -DCHECK_BINARY=<check_binary.cmake>
#         -DLIBRARY_32_ARGUMENTS=<check arguments> -DLIBRARY_64_ARGUMENTS=<check arguments>
#         -DPROGRAM_ARGUMENTS=<check arguments> -DBRIDGE_32_ARGUMENTS=<check arguments>
#         -DBRIDGE_64_ARGUMENTS=<check arguments> -DTESTED_FILES=<files the Wine tests ran>
#         -DGROUP=<Maven group> -DARTIFACT=<Maven artifact> -DVERSION=<version>
#         -DLICENSE=<the repository's LICENSE> -DJAVA=<java> -DHOST_LIBRARY=<host build's library>
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
set(artifact "${ARTIFACT}-${VERSION}")
set(binding_jar "${artifact}.jar")
set(scan_jar "${ARTIFACT}-scan-${VERSION}.jar")
set(files Ramtally.exe scanlink32.dll scanlink64.dll scanlink-bridge32.exe scanlink-bridge64.exe
  ${binding_jar} ${artifact}-sources.jar ${artifact}-javadoc.jar ${artifact}.pom ${scan_jar}
  scan.cmd README.txt LICENSE.txt)
list(TRANSFORM files PREPEND "${TOP_DIR}/" OUTPUT_VARIABLE expected)
list(SORT expected)
if(NOT contents STREQUAL expected)
  message(FATAL_ERROR "the zip holds [${contents}], not [${expected}]")
endif()
set(top "${unpacked}/${TOP_DIR}")

# A jar of the zip, unpacked; each file named must be in it.
function(unpack_jar jar out)
  set(contents "${WORK_DIR}/jars/${jar}")
  file(ARCHIVE_EXTRACT INPUT "${top}/${jar}" DESTINATION "${contents}")
  foreach(file IN LISTS ARGN)
    if(NOT EXISTS "${contents}/${file}")
      message(FATAL_ERROR "${jar} holds no ${file}")
    endif()
  endforeach()
  set(${out} "${contents}" PARENT_SCOPE)
endfunction()

# Each jar that runs the binding carries exactly both libraries and both bridge programs of the zip
# where it looks for them.
function(check_natives jar contents)
  file(GLOB_RECURSE jar_natives LIST_DIRECTORIES false RELATIVE "${contents}"
    "${contents}/natives/*")
  list(SORT jar_natives)
  set(natives windows-x86/scanlink32.dll windows-x86_64/scanlink64.dll
    windows-x86/scanlink-bridge32.exe windows-x86_64/scanlink-bridge64.exe)
  list(TRANSFORM natives PREPEND natives/ OUTPUT_VARIABLE expected_natives)
  list(SORT expected_natives)
  if(NOT jar_natives STREQUAL expected_natives)
    message(FATAL_ERROR "${jar} holds the natives [${jar_natives}], not [${expected_natives}]")
  endif()
  foreach(library IN LISTS natives)
    get_filename_component(name "${library}" NAME)
    file(SHA256 "${contents}/natives/${library}" in_jar)
    file(SHA256 "${top}/${name}" in_zip)
    if(NOT in_jar STREQUAL in_zip)
      message(FATAL_ERROR "${jar}'s natives/${library} differs from the zip's ${name}")
    endif()
  endforeach()
endfunction()

unpack_jar(${binding_jar} binding QZ/korvel/twain/TwainEx.class META-INF/MANIFEST.MF)
check_natives(${binding_jar} "${binding}")
file(STRINGS "${binding}/META-INF/MANIFEST.MF" coordinates REGEX "^Maven-Coordinates: ")
if(NOT coordinates STREQUAL "Maven-Coordinates: ${GROUP}:${ARTIFACT}:${VERSION}")
  message(FATAL_ERROR "${binding_jar}'s manifest gives [${coordinates}], not ${GROUP}:${ARTIFACT}:${VERSION}")
endif()
unpack_jar(${artifact}-sources.jar sources QZ/korvel/twain/ScanSession.java
  QZ/korvel/twain/BuildVersion.java)
unpack_jar(${scan_jar} scan scanlink/scan/Scan.class scanlink/scan/check/DriverCheck.class
  QZ/korvel/twain/ScanSession.class org/apache/pdfbox/pdmodel/PDDocument.class
  org/apache/fontbox/ttf/TrueTypeFont.class org/apache/commons/logging/LogFactory.class)
check_natives(${scan_jar} "${scan}")
file(STRINGS "${scan}/META-INF/MANIFEST.MF" main_class REGEX "^Main-Class: ")
if(NOT main_class STREQUAL "Main-Class: scanlink.scan.Scan")
  message(FATAL_ERROR "${scan_jar} runs [${main_class}], not scanlink.scan.Scan")
endif()

# The pom names the coordinates and the licence; the README gives them and the quick start; the
# licence is the repository's; scan.cmd runs the scan jar.
file(READ "${top}/${artifact}.pom" pom)
foreach(element IN ITEMS "<groupId>${GROUP}</groupId>" "<artifactId>${ARTIFACT}</artifactId>"
    "<version>${VERSION}</version>" "<name>Apache License, Version 2.0</name>" "<description>")
  string(FIND "${pom}" "${element}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${artifact}.pom has no ${element}")
  endif()
endforeach()
file(READ "${top}/README.txt" readme)
foreach(text IN ITEMS "${GROUP}:${ARTIFACT}:${VERSION}" "scan --check report.html" "${scan_jar}")
  string(FIND "${readme}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "README.txt does not say ${text}")
  endif()
endforeach()
file(SHA256 "${top}/LICENSE.txt" in_zip)
file(SHA256 "${LICENSE}" in_repository)
if(NOT in_zip STREQUAL in_repository)
  message(FATAL_ERROR "LICENSE.txt is not the repository's LICENSE")
endif()
# Read as bytes: a text read drops the carriage returns.
file(READ "${top}/scan.cmd" script_bytes HEX)
string(HEX "java -jar \"%~dp0${scan_jar}\" %*\r\n" line_bytes)
string(FIND "${script_bytes}" "${line_bytes}" at)
if(at EQUAL -1)
  file(READ "${top}/scan.cmd" script)
  message(FATAL_ERROR "scan.cmd does not run ${scan_jar} with Windows line ends:\n${script}")
endif()

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
file(ARCHIVE_EXTRACT INPUT "${top}/${artifact}-javadoc.jar" DESTINATION "${javadoc_contents}")
if(NOT EXISTS "${javadoc_contents}/QZ/korvel/twain/ScanSession.html")
  message(FATAL_ERROR "${artifact}-javadoc.jar holds no page for QZ.korvel.twain.ScanSession")
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

# The runnable jar as a user runs it, on the host with the host build's library and its virtual
# scanner: the driver check passes and writes its report, and a scan writes a PDF with the PDFBox
# inside the jar.
if(NOT EXISTS "${HOST_LIBRARY}")
  message(FATAL_ERROR "${HOST_LIBRARY} does not exist: the scan jar runs with the host build's "
    "library, so build the default preset first (cmake --workflow --preset default)")
endif()
set(run_dir "${WORK_DIR}/run")
file(MAKE_DIRECTORY "${run_dir}")
set(ENV{VIRTUAL_SCANNER_FEEDER_SHEETS} 20)
foreach(run IN ITEMS "--check;report.html" "page.pdf")
  execute_process(COMMAND "${JAVA}" -Xcheck:jni -Djava.awt.headless=true
      -Dscanlink32.library.file=${HOST_LIBRARY} -jar "${top}/${scan_jar}" ${run}
    WORKING_DIRECTORY "${run_dir}" OUTPUT_VARIABLE output ERROR_VARIABLE output
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "java -jar ${scan_jar} ${run} ended with ${result}:\n${output}")
  endif()
endforeach()
foreach(written IN ITEMS report.html report.txt report.trace page.pdf)
  if(NOT EXISTS "${run_dir}/${written}")
    message(FATAL_ERROR "the scan jar wrote no ${written}")
  endif()
endforeach()
