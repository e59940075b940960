# The zip a Windows user receives, made by the 64-bit build: both JNI libraries, so that a 32-bit
# and a 64-bit VM each find theirs; both bridge programs, the 32-bit one of which serves 32-bit
# drivers to a 64-bit VM; the binding jar, which carries the libraries and the bridge programs as
# resources beside its classes, with its sources, Javadoc and pom under their Maven names; the scan
# program as a runnable jar and the script that runs it; a README, the licence; and Ramtally.exe in
# its 32-bit build, which runs on every Windows.
#
# The 32-bit files come from the windows-x86 build tree, which is built and tested first
# (scripts/test runs it before this one): the files it staged stripped, which its Wine tests ran, go
# into the zip unchanged, and the jar carries the very same bytes.

set(SCANLINK_WINDOWS_X86_DIR "" CACHE PATH
  "Build tree of the windows-x86 preset, whose scanlink32.dll, bridge and Ramtally.exe the zip carries")
set(SCANLINK_X86_STAGE ${SCANLINK_WINDOWS_X86_DIR}/package_files)
set(SCANLINK_X86_LIBRARY ${SCANLINK_X86_STAGE}/scanlink32.dll)
set(SCANLINK_X86_RAMTALLY ${SCANLINK_X86_STAGE}/Ramtally.exe)
set(SCANLINK_X86_BRIDGE ${SCANLINK_X86_STAGE}/scanlink-bridge32.exe)
foreach(file IN ITEMS ${SCANLINK_X86_LIBRARY} ${SCANLINK_X86_RAMTALLY} ${SCANLINK_X86_BRIDGE})
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "${file} does not exist: the zip carries the 32-bit build too, so build it "
      "first (cmake --workflow --preset windows-x86), or name its build tree with "
      "-DSCANLINK_WINDOWS_X86_DIR=...")
  endif()
endforeach()

# The zip's runnable scan jar is run on this host against the virtual scanner, with the library of
# the host's build, which scripts/test makes first.
set(SCANLINK_HOST_BUILD_DIR "" CACHE PATH
  "Build tree of the default preset, whose library runs the zip's scan jar on the host")

# The 32-bit files are read with the 32-bit binutils.
find_program(SCANLINK_X86_OBJDUMP i686-w64-mingw32-objdump REQUIRED)

set(stage ${SCANLINK_PACKAGE_STAGE})
foreach(file IN ITEMS ${SCANLINK_X86_LIBRARY} ${SCANLINK_X86_RAMTALLY} ${SCANLINK_X86_BRIDGE})
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${stage}/${name}
    COMMAND ${CMAKE_COMMAND} -E copy ${file} ${stage}/${name}
    DEPENDS ${file}
    COMMENT "Taking the 32-bit ${name} for the zip")
endforeach()

# The Maven names of the binding's files, from the project's coordinates.
set(artifact ${SCANLINK_MAVEN_ARTIFACT}-${PROJECT_VERSION})
set(SCANLINK_BINDING_JAR ${artifact}.jar)
set(SCANLINK_SOURCES_JAR ${artifact}-sources.jar)
set(SCANLINK_JAVADOC_JAR ${artifact}-javadoc.jar)
set(SCANLINK_POM ${artifact}.pom)
set(SCANLINK_SCAN_JAR ${SCANLINK_MAVEN_ARTIFACT}-scan-${PROJECT_VERSION}.jar)

# The binding jar with the libraries at the resource paths from which the binding extracts the one
# its VM needs, natives/<os>-<arch>/<System.mapLibraryName(name)>, and each bridge program beside
# the library of its width.
set(jar_natives ${stage}/jar_natives)
get_target_property(binding_jar twainex JAR_FILE)
add_custom_command(OUTPUT ${stage}/${SCANLINK_BINDING_JAR}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${jar_natives}
  COMMAND ${CMAKE_COMMAND} -E copy ${stage}/scanlink32.dll
    ${jar_natives}/natives/windows-x86/scanlink32.dll
  COMMAND ${CMAKE_COMMAND} -E copy ${stage}/scanlink64.dll
    ${jar_natives}/natives/windows-x86_64/scanlink64.dll
  COMMAND ${CMAKE_COMMAND} -E copy ${stage}/scanlink-bridge32.exe
    ${jar_natives}/natives/windows-x86/scanlink-bridge32.exe
  COMMAND ${CMAKE_COMMAND} -E copy ${stage}/scanlink-bridge64.exe
    ${jar_natives}/natives/windows-x86_64/scanlink-bridge64.exe
  COMMAND ${CMAKE_COMMAND} -E copy ${binding_jar} ${stage}/${SCANLINK_BINDING_JAR}
  COMMAND ${Java_JAR_EXECUTABLE} uf ${stage}/${SCANLINK_BINDING_JAR} -C ${jar_natives} natives
  DEPENDS twainex ${binding_jar} ${stage}/scanlink32.dll ${stage}/scanlink64.dll
    ${stage}/scanlink-bridge32.exe ${stage}/scanlink-bridge64.exe
  COMMENT "Adding both libraries and both bridge programs to the binding jar")

# The scan program as one runnable jar: its classes, the binding with both libraries, and PDFBox
# with what it needs, each jar's classes beside the others'; their manifests give way to one that
# names the program.
set(scan_classes ${stage}/scan_classes)
get_target_property(scan_jar scan JAR_FILE)
set(unpack_jars ${SCANLINK_PDFBOX_JARS} ${stage}/${SCANLINK_BINDING_JAR} ${scan_jar})
list(TRANSFORM unpack_jars PREPEND
  "COMMAND;${CMAKE_COMMAND};-E;chdir;${scan_classes};${Java_JAR_EXECUTABLE};xf;"
  OUTPUT_VARIABLE unpacking)
add_custom_command(OUTPUT ${stage}/${SCANLINK_SCAN_JAR}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${scan_classes}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${scan_classes}
  ${unpacking}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${scan_classes}/META-INF/MANIFEST.MF
  COMMAND ${Java_JAR_EXECUTABLE} --create --file ${stage}/${SCANLINK_SCAN_JAR}
    --main-class scanlink.scan.Scan -C ${scan_classes} .
  DEPENDS scan ${scan_jar} ${stage}/${SCANLINK_BINDING_JAR} ${SCANLINK_PDFBOX_JARS}
  COMMENT "The scan program as a runnable jar"
  VERBATIM)

# What a Windows user reads first, the licence, and the script that runs the scan program, with
# Windows line ends.
configure_file(${PROJECT_SOURCE_DIR}/java/windows/README.txt.in ${stage}/README.txt @ONLY
  NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/java/windows/scan.cmd.in ${stage}/scan.cmd @ONLY
  NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${stage}/LICENSE.txt COPYONLY)

add_custom_target(windows_package_files ALL
  DEPENDS ${stage}/scanlink32.dll ${stage}/scanlink64.dll ${stage}/Ramtally.exe
    ${stage}/scanlink-bridge32.exe ${stage}/scanlink-bridge64.exe ${stage}/${SCANLINK_BINDING_JAR}
    ${stage}/${SCANLINK_SCAN_JAR})
add_dependencies(windows_package_files staged_deliverables twainex_javadoc twainex_sources)

install(FILES ${stage}/scanlink32.dll ${stage}/scanlink64.dll ${stage}/${SCANLINK_BINDING_JAR}
  ${stage}/${SCANLINK_SCAN_JAR} ${stage}/README.txt ${stage}/LICENSE.txt
  DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/jars/twainex-javadoc.jar DESTINATION . RENAME
  ${SCANLINK_JAVADOC_JAR})
install(FILES ${CMAKE_BINARY_DIR}/jars/twainex-sources.jar DESTINATION . RENAME
  ${SCANLINK_SOURCES_JAR})
install(FILES ${CMAKE_BINARY_DIR}/jars/twainex.pom DESTINATION . RENAME ${SCANLINK_POM})
install(PROGRAMS ${stage}/Ramtally.exe ${stage}/scanlink-bridge32.exe
  ${stage}/scanlink-bridge64.exe ${stage}/scan.cmd DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME scanlink32)
set(SCANLINK_PACKAGE_NAME scanlink32-${PROJECT_VERSION}-windows)
set(CPACK_PACKAGE_FILE_NAME ${SCANLINK_PACKAGE_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
