// What ctest tells the JNI host through its environment, in Windows' terms.
#ifndef SCANLINK_TESTS_JNI_HOST_HOST_ENVIRONMENT_H
#define SCANLINK_TESTS_JNI_HOST_HOST_ENVIRONMENT_H

#include <string>

namespace host {

// Which manager the library binds in this run: JNI_HOST_MANAGER is "virtual" (the virtual manager,
// where the library looks first) or "wine" (Wine's twain_32.dll, the virtual manager disabled).
bool throughWinesManager();

// The host path in the environment variable, on the drive where Wine shows the host's root
// ("Z:\...").
std::string hostPathOnDrive(const char* variable);
// The same path without its drive, taken on the current drive, which is that one too: for lists
// that the virtual scanner splits at ':'.
std::string hostPathWithoutDrive(const char* variable);

}  // namespace host

#endif
