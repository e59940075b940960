// The shipped library as a VM loads and starts it, and a session from register to unregister
// through the manager of this run, every call made through the library's exports.
#include <virtual_scanner_control.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "jni_host_fixture.h"
#include "twain/twain.h"

namespace {

std::string moduleFile(HMODULE module) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    return std::string(path, length);
}

bool insideModule(const void* address, HMODULE module) {
    MEMORY_BASIC_INFORMATION memory = {};
    return VirtualQuery(address, &memory, sizeof(memory)) != 0 &&
           memory.AllocationBase == static_cast<const void*>(module);
}

// The identity that the application sent with MSG_OPENDS, as the scanner received it.
TW_IDENTITY openingIdentity() {
    TW_IDENTITY identity = {};
    for (std::size_t i = 0; i < vscan_logSize(); ++i) {
        VscanTriplet triplet = {};
        if (vscan_logEntry(i, &triplet) && triplet.dat == DAT_IDENTITY &&
            triplet.msg == MSG_OPENDS) {
            vscan_logOrigin(i, reinterpret_cast<uint8_t*>(&identity), sizeof(identity));
            break;
        }
    }
    return identity;
}

}  // namespace

TEST_F(JniHost, TheShippedLibraryIsLoadedByItsFullPathAndStartedAsAVmStartsIt) {
    EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE,
                             moduleFile(library.module()).c_str(), -1, library.path().c_str(), -1),
              CSTR_EQUAL)
        << moduleFile(library.module()) << " is not " << library.path();
    EXPECT_TRUE(
        library.onLoadVersion() == JNI_VERSION_1_2 || library.onLoadVersion() == JNI_VERSION_1_4 ||
        library.onLoadVersion() == JNI_VERSION_1_6 || library.onLoadVersion() == JNI_VERSION_1_8)
        << "JNI_OnLoad answered " << library.onLoadVersion();
    for (const host::RegisteredNative& native : host::registeredNatives()) {
        EXPECT_EQ(native.className.rfind("QZ/korvel/twain/", 0), 0u) << native.className;
        EXPECT_TRUE(insideModule(native.function, library.module())) << native.name;
    }
    EXPECT_EQ(library.getState(), 0);
    EXPECT_EQ(library.getResultCode(), 0);
}

TEST_F(JniHost, RegistersOpensClosesAndUnregistersThroughTheManager) {
    // Ü is 0xDC in Windows' ANSI code page of the prefix, 1252.
    ASSERT_TRUE(library.registerApplication(2, 3, host::newString(u"Acme \u00DCbersetzung"),
                                            nullptr, host::newString(u"JNI host")));
    EXPECT_EQ(library.getState(), kManagerOpen);
    ASSERT_TRUE(library.step("openSource"));
    EXPECT_EQ(library.getState(), kSourceOpen);
    EXPECT_EQ(library.getResultCode(), TWRC_SUCCESS);
    EXPECT_EQ(vscan_sourceState(), kSourceOpen);

    const TW_IDENTITY application = openingIdentity();
    EXPECT_STREQ(application.Manufacturer,
                 "Acme \xDC"
                 "bersetzung");
    EXPECT_STREQ(application.ProductFamily, "");
    EXPECT_STREQ(application.ProductName, "JNI host");
    EXPECT_EQ(application.Version.MajorNum, 2);
    EXPECT_EQ(application.Version.MinorNum, 3);

    ASSERT_TRUE(library.step("closeSource"));
    EXPECT_EQ(library.getState(), kManagerOpen);
    EXPECT_EQ(vscan_sourceState(), 0);
    ASSERT_TRUE(library.step("unregister"));
    EXPECT_EQ(library.getState(), kManagerNotLoaded);
}

TEST_F(JniHost, TheUnloadHookTakesAnOpenSessionDown) {
    openSource();
    ASSERT_TRUE(library.step("prepareTransfer"));
    EXPECT_EQ(library.getState(), kSourceEnabled);
    library.onUnload();
    EXPECT_EQ(library.getState(), kManagerNotLoaded);
    EXPECT_EQ(vscan_sourceState(), 0);
}
