#include "session/twain_steps.h"

#include "session/acquisition.h"
#include "session/lifecycle.h"
#include "session/native_calls.h"

jboolean registerStep(std::int32_t versionMajor, std::int32_t versionMinor,
                      const char* manufacturer, const char* productFamily,
                      const char* productName) {
    return stepCall("register", CallKind::Step, {kStateManagerNotLoaded, kStateManagerLoaded}, [&] {
        return openSourceManager(versionMajor, versionMinor, manufacturer, productFamily,
                                 productName);
    });
}

jboolean selectSourceStep() {
    return stepCall("selectSource", CallKind::Step, {kStateManagerOpen, kStateManagerOpen},
                    selectSource);
}

jboolean openSourceStep() {
    return stepCall("openSource", CallKind::Step, {kStateManagerOpen, kStateManagerOpen},
                    openSource);
}

jboolean prepareTransferStep() {
    return stepCall("prepareTransfer", CallKind::Step, {kStateSourceOpen, kStateSourceOpen},
                    prepareTransfer);
}

jboolean stopTransferStep() {
    return stepCall("stopTransfer", CallKind::Teardown, {kStateSourceEnabled, kStateTransferring},
                    disableSource);
}

jboolean closeSourceStep() {
    return stepCall("closeSource", CallKind::Teardown, kSourceOpenStates, closeSource);
}

jboolean unregisterStep() {
    return stepCall("unregister", CallKind::Teardown, kUnregisterStates, unregister);
}

void setVisibleStep(bool visible) {
    runNativeCall("setVisible", CallKind::Step, kSendsNothing,
                  [visible] { twainSession.showUserInterface = visible; });
}
