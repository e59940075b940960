# FindJNI looks at JAVA_HOME first; without it, take the JDK whose javac is on the PATH, so that
# the headers and the VM match the java that runs the tests.
if(NOT DEFINED ENV{JAVA_HOME})
  find_program(SCANLINK_JAVAC javac REQUIRED)
  file(REAL_PATH ${SCANLINK_JAVAC} javac_path)
  get_filename_component(jdk_bin ${javac_path} DIRECTORY)
  get_filename_component(jdk_home ${jdk_bin} DIRECTORY)
  set(ENV{JAVA_HOME} ${jdk_home})
endif()
