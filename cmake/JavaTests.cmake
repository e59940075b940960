# Java-facing tests: JUnit 5 classes compiled against the binding jar, run by the JUnit console
# launcher in a real JVM with -Xcheck:jni. Any warning that the JNI checker prints fails the test.
# The binding loads the library of this build, named by its full path; java.library.path serves
# only the test libraries (the virtual scanner's controls, the image harness).
find_file(JUNIT_CONSOLE_JAR junit-platform-console-standalone.jar
  PATHS /usr/share/java NO_DEFAULT_PATH REQUIRED)

# add_junit_tests(<name> SOURCES <java files> [JARS <jar targets>] [JAR_FILES <jar paths>]
#                 [ENVIRONMENT <VAR=value>...])
# Compiles the sources into <name>.jar and registers one ctest test that runs every test class in
# it. Test classes run one after another on the launcher's main thread.
function(add_junit_tests name)
  cmake_parse_arguments(ARG "" "" "SOURCES;JARS;JAR_FILES;ENVIRONMENT" ${ARGN})
  set(include_jars ${JUNIT_CONSOLE_JAR} ${ARG_JAR_FILES})
  set(class_path ${ARG_JAR_FILES})
  foreach(jar IN LISTS ARG_JARS)
    list(APPEND include_jars ${jar})
    get_target_property(jar_file ${jar} JAR_FILE)
    list(APPEND class_path ${jar_file})
  endforeach()
  add_jar(${name} SOURCES ${ARG_SOURCES} INCLUDE_JARS ${include_jars}
    OUTPUT_DIR ${CMAKE_BINARY_DIR}/jars)
  get_target_property(test_jar ${name} JAR_FILE)
  list(APPEND class_path ${test_jar})
  string(JOIN ":" class_path_string ${class_path})
  add_test(NAME ${name}
    COMMAND ${Java_JAVA_EXECUTABLE} -Xcheck:jni -Djava.awt.headless=true
      -Djava.library.path=${CMAKE_LIBRARY_OUTPUT_DIRECTORY}
      -Dscanlink32.library.file=$<TARGET_FILE:scanlink32>
      -Dscanlink32.bridge.file=$<TARGET_FILE:scanlink-bridge>
      -jar ${JUNIT_CONSOLE_JAR} --disable-banner --disable-ansi-colors --details=tree --fail-if-no-tests
      --class-path ${class_path_string} --scan-class-path ${test_jar})
  set_tests_properties(${name} PROPERTIES
    LABELS jvm
    FAIL_REGULAR_EXPRESSION "WARNING in native method|FATAL ERROR in native method|JNI local refs"
    ENVIRONMENT "${ARG_ENVIRONMENT}")
endfunction()
