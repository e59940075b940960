// The steps of TwainEx, each under the session's rules for the states it sends from: one
// definition for the natives of this process and for the bridge that serves them to another.
#ifndef SCANLINK_SESSION_TWAIN_STEPS_H
#define SCANLINK_SESSION_TWAIN_STEPS_H

#include <jni.h>

#include <cstdint>

jboolean registerStep(std::int32_t versionMajor, std::int32_t versionMinor,
                      const char* manufacturer, const char* productFamily, const char* productName);
jboolean selectSourceStep();
jboolean openSourceStep();
jboolean prepareTransferStep();
jboolean stopTransferStep();
jboolean closeSourceStep();
jboolean unregisterStep();
// Whether the next enable shows the source's interface; sends nothing.
void setVisibleStep(bool visible);

#endif
