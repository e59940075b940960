# Installs the binding's four files into an empty local repository with install:install-file, as
# a user does with the files of the zip; checks the repository's layout and the pom there; builds
# the consumer project against the coordinates; and runs it against the virtual scanner. Maven
# runs offline, in batch mode, with the file protocol alone let through, to Debian's repository of
# the machine that the settings name.
#
#   cmake -DMAVEN=<mvn> -DJAVA=<java> -DINSTALL_PLUGIN=<group:artifact:version>
#         -DSETTINGS=<settings.xml> -DCONSUMER=<consumer project> -DWORK_DIR=<scratch folder>
#         -DJAR=<jar> -DSOURCES_JAR=<jar> -DJAVADOC_JAR=<jar> -DPOM=<pom>
#         -DGROUP=<group> -DARTIFACT=<artifact> -DVERSION=<version> -DLIBRARY=<host library>
#         -P install_and_consume.cmake

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK_DIR}")
set(repository "${WORK_DIR}/repository")
file(MAKE_DIRECTORY "${repository}")

function(maven)
  execute_process(COMMAND "${MAVEN}" --batch-mode --offline -Daether.offline.protocols=file
      --settings "${SETTINGS}"
      -Dmaven.repo.local=${repository} ${ARGN}
    WORKING_DIRECTORY "${WORK_DIR}" OUTPUT_VARIABLE output ERROR_VARIABLE output
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "mvn ${ARGN} ended with ${result}:\n${output}")
  endif()
endfunction()

maven(${INSTALL_PLUGIN}:install-file -Dfile=${JAR} -DpomFile=${POM} -Dsources=${SOURCES_JAR}
  -Djavadoc=${JAVADOC_JAR})

# The layout a Maven repository has: group folders, artifact, version, and the files named by
# artifact and version, the same bytes as those installed.
string(REPLACE "." "/" group_path "${GROUP}")
set(folder "${repository}/${group_path}/${ARTIFACT}/${VERSION}")
set(stem "${ARTIFACT}-${VERSION}")
foreach(pair IN ITEMS "${stem}.jar=${JAR}" "${stem}-sources.jar=${SOURCES_JAR}"
    "${stem}-javadoc.jar=${JAVADOC_JAR}" "${stem}.pom=${POM}")
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 name)
  list(GET pair 1 source)
  if(NOT EXISTS "${folder}/${name}")
    message(FATAL_ERROR "the local repository has no ${group_path}/${ARTIFACT}/${VERSION}/${name}")
  endif()
  file(SHA256 "${folder}/${name}" installed)
  file(SHA256 "${source}" given)
  if(NOT installed STREQUAL given)
    message(FATAL_ERROR "${name} in the repository differs from ${source}")
  endif()
endforeach()

# The consumer names only the coordinates; Maven finds the binding in the repository.
file(COPY "${CONSUMER}/src" DESTINATION "${WORK_DIR}/consumer")
set(SCANLINK_MAVEN_GROUP ${GROUP})
set(SCANLINK_MAVEN_ARTIFACT ${ARTIFACT})
set(PROJECT_VERSION ${VERSION})
configure_file("${CONSUMER}/pom.xml.in" "${WORK_DIR}/consumer/pom.xml" @ONLY)
maven(--file ${WORK_DIR}/consumer/pom.xml compile)

execute_process(COMMAND "${JAVA}" -Xcheck:jni -Dscanlink32.library.file=${LIBRARY}
    -cp "${WORK_DIR}/consumer/target/classes:${folder}/${stem}.jar" consumer.Consumer
  OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE result)
set(expected "binding ${GROUP}:${ARTIFACT}:${VERSION}, library ${VERSION}
source Virtual Scanner
source Virtual Duplex Feeder
page 850 x 1100
")
if(NOT result EQUAL 0 OR NOT output STREQUAL expected)
  message(FATAL_ERROR "the consumer ended with ${result}, printing:\n${output}${errors}\n"
    "not:\n${expected}")
endif()
message(STATUS "installed ${GROUP}:${ARTIFACT}:${VERSION} and ran a project that depends on it")
