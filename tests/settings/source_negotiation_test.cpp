// The virtual source as a real one negotiates: what it takes, rounds or refuses, in which states,
// and in which containers it answers.
#include <cmath>

#include "session/acquisition.h"
#include "session/dsm_binding.h"
#include "session/twain_session.h"
#include "settings/capability_access.h"
#include "settings_support.h"

namespace {

class SourceNegotiation : public Scenario {
  protected:
    void SetUp() override {
        Scenario::SetUp();
        openDemoSource();
    }
    static double fixed(TW_UINT16 capability) {
        TW_FIX32 value = toFix32(-1.0);
        EXPECT_TRUE(getCapabilityValue(capability, TWTY_FIX32, &value));
        return fromFix32(value);
    }
    static TW_UINT16 integer(TW_UINT16 capability) {
        TW_UINT16 value = 0x5A5A;
        EXPECT_TRUE(getCapabilityValue(capability, TWTY_UINT16, &value));
        return value;
    }
    static TW_UINT16 flag(TW_UINT16 capability) {
        TW_UINT16 value = 0x5A5A;
        EXPECT_TRUE(getFlagValue(capability, &value));
        return value;
    }
    static bool setFixed(TW_UINT16 capability, double value) {
        return setCapabilityValue(capability, TWTY_FIX32, packFix32(toFix32(value)));
    }
    static bool setInteger(TW_UINT16 capability, TW_UINT16 value) {
        return setCapabilityValue(capability, TWTY_UINT16, value);
    }
    static void expectCodes(TW_UINT16 result, TW_UINT16 condition) {
        EXPECT_EQ(twainSession.resultCode, result);
        EXPECT_EQ(twainSession.conditionCode, condition);
    }
};

TEST_F(SourceNegotiation, StartsFromTheDevicesDefaults) {
    EXPECT_EQ(integer(ICAP_PIXELTYPE), TWPT_RGB);
    EXPECT_EQ(integer(ICAP_BITDEPTH), 24);
    EXPECT_EQ(integer(ICAP_UNITS), TWUN_INCHES);
    EXPECT_EQ(integer(CAP_XFERCOUNT), 0xFFFF);  // -1 as TWTY_INT16
    EXPECT_EQ(fixed(ICAP_XRESOLUTION), 100.0);
    EXPECT_EQ(fixed(ICAP_YRESOLUTION), 100.0);
    EXPECT_EQ(fixed(ICAP_XNATIVERESOLUTION), 600.0);
    EXPECT_EQ(fixed(ICAP_PHYSICALWIDTH), 8.5);
    EXPECT_EQ(fixed(ICAP_PHYSICALHEIGHT), 11.0);
    EXPECT_EQ(fixed(ICAP_HIGHLIGHT), 255.0);
    EXPECT_EQ(fixed(ICAP_SHADOW), 0.0);
    EXPECT_EQ(fixed(ICAP_THRESHOLD), 128.0);
    EXPECT_EQ(fixed(ICAP_XSCALING), 1.0);
    EXPECT_EQ(flag(CAP_FEEDERENABLED), 0);
    EXPECT_EQ(flag(CAP_AUTOFEED), 1);
    EXPECT_EQ(flag(CAP_UICONTROLLABLE), 1);
    EXPECT_EQ(flag(CAP_DEVICEONLINE), 1);
    EXPECT_EQ(flag(CAP_FEEDERLOADED), 0);  // nobody put paper in
}

TEST_F(SourceNegotiation, ListedValuesAreTakenOthersGoToTheNearestOrAreRefused) {
    EXPECT_TRUE(setFixed(ICAP_XRESOLUTION, 300.0));
    expectCodes(TWRC_SUCCESS, TWCC_SUCCESS);
    EXPECT_TRUE(setFixed(ICAP_YRESOLUTION, 320.0));  // nearest: 300
    expectCodes(TWRC_CHECKSTATUS, TWCC_SUCCESS);
    EXPECT_EQ(fixed(ICAP_YRESOLUTION), 300.0);
    EXPECT_TRUE(setFixed(ICAP_XRESOLUTION, 5000.0));
    EXPECT_EQ(fixed(ICAP_XRESOLUTION), 600.0);

    EXPECT_FALSE(setInteger(ICAP_PIXELTYPE, 7));  // a code the device does not have
    expectCodes(TWRC_FAILURE, TWCC_BADVALUE);
    EXPECT_EQ(integer(ICAP_PIXELTYPE), TWPT_RGB);
}

TEST_F(SourceNegotiation, ThePixelTypeBringsItsBitDepth) {
    ASSERT_TRUE(setInteger(ICAP_PIXELTYPE, TWPT_GRAY));
    EXPECT_EQ(integer(ICAP_BITDEPTH), 8);
    EXPECT_FALSE(setInteger(ICAP_BITDEPTH, 24));
    expectCodes(TWRC_FAILURE, TWCC_BADVALUE);
    ASSERT_TRUE(setInteger(ICAP_PIXELTYPE, TWPT_BW));
    EXPECT_EQ(integer(ICAP_BITDEPTH), 1);
    EXPECT_TRUE(setInteger(ICAP_BITDEPTH, 1));
}

TEST_F(SourceNegotiation, RangesSnapToTheirStepAndRefuseWhatLiesOutside) {
    EXPECT_TRUE(setFixed(ICAP_THRESHOLD, 12.5));  // steps of 1, halves up
    expectCodes(TWRC_CHECKSTATUS, TWCC_SUCCESS);
    EXPECT_EQ(fixed(ICAP_THRESHOLD), 13.0);
    EXPECT_FALSE(setFixed(ICAP_THRESHOLD, 255.5));
    expectCodes(TWRC_FAILURE, TWCC_BADVALUE);
    EXPECT_TRUE(setFixed(ICAP_CONTRAST, 0.1));  // any TW_FIX32 from -1000 to 1000
    expectCodes(TWRC_SUCCESS, TWCC_SUCCESS);
    EXPECT_EQ(fixed(ICAP_CONTRAST), 0.100006103515625);
    EXPECT_TRUE(setFixed(ICAP_BRIGHTNESS, -12.25));
    EXPECT_EQ(fixed(ICAP_BRIGHTNESS), -12.25);
}

TEST_F(SourceNegotiation, TransferCountIsMinusOneOrAPositiveNumber) {
    EXPECT_TRUE(setInteger(CAP_XFERCOUNT, 3));
    EXPECT_EQ(integer(CAP_XFERCOUNT), 3);
    EXPECT_TRUE(setInteger(CAP_XFERCOUNT, 0xFFFF));  // the 16 bits of -1
    EXPECT_EQ(integer(CAP_XFERCOUNT), 0xFFFF);
    for (TW_UINT16 refused : {0, 0x8000}) {
        EXPECT_FALSE(setInteger(CAP_XFERCOUNT, refused)) << refused;
        expectCodes(TWRC_FAILURE, TWCC_BADVALUE);
    }
}

TEST_F(SourceNegotiation, ReadOnlyAndUnknownCapabilities) {
    EXPECT_FALSE(setFixed(ICAP_PHYSICALWIDTH, 4.0));
    expectCodes(TWRC_FAILURE, TWCC_CAPBADOPERATION);
    EXPECT_FALSE(setInteger(CAP_FEEDERLOADED, 1));
    expectCodes(TWRC_FAILURE, TWCC_CAPBADOPERATION);
    TW_UINT16 value = 0;
    EXPECT_FALSE(getCapabilityValue(0x8001, TWTY_UINT16, &value));
    expectCodes(TWRC_FAILURE, TWCC_CAPUNSUPPORTED);
    setCapabilityKnob("ICAP_ROTATION", "unsupported", 1);
    EXPECT_FALSE(setFixed(ICAP_ROTATION, 90.0));
    expectCodes(TWRC_FAILURE, TWCC_CAPUNSUPPORTED);
}

TEST_F(SourceNegotiation, SetsOnlyInStateFourReadsUpToSeven) {
    ASSERT_TRUE(prepareTransfer());
    EXPECT_FALSE(setFixed(ICAP_XRESOLUTION, 300.0));
    expectCodes(TWRC_FAILURE, TWCC_SEQERROR);
    EXPECT_EQ(fixed(ICAP_XRESOLUTION), 100.0);
    const SourceAnswer reset = askSource(MSG_RESET, ICAP_XRESOLUTION);
    EXPECT_EQ(reset.resultCode, TWRC_FAILURE);
    EXPECT_EQ(reset.conditionCode, TWCC_SEQERROR);
}

TEST_F(SourceNegotiation, UnitsConvertLengthsAndResolutions) {
    ASSERT_TRUE(setFixed(ICAP_XRESOLUTION, 300.0));
    ASSERT_TRUE(setInteger(ICAP_UNITS, TWUN_CENTIMETERS));
    EXPECT_EQ(fixed(ICAP_PHYSICALWIDTH), fromFix32(toFix32(8.5 * 2.54)));
    EXPECT_EQ(fixed(ICAP_XRESOLUTION), fromFix32(toFix32(300 / 2.54)));
    EXPECT_TRUE(setFixed(ICAP_YRESOLUTION, 59.0));  // 149.86 dots per inch: nearest 150
    EXPECT_EQ(twainSession.resultCode, TWRC_CHECKSTATUS);
    ASSERT_TRUE(setInteger(ICAP_UNITS, TWUN_PIXELS));
    EXPECT_EQ(fixed(ICAP_PHYSICALWIDTH), 8.5 * 300);
    EXPECT_EQ(fixed(ICAP_PHYSICALHEIGHT), 11.0 * 150);
    ASSERT_TRUE(setInteger(ICAP_UNITS, TWUN_INCHES));
    EXPECT_EQ(fixed(ICAP_YRESOLUTION), 150.0);
}

TEST_F(SourceNegotiation, FullReadsListTheChoicesOrTheRange) {
    SourceAnswer resolutions = askSource(MSG_GETCURRENT, ICAP_XRESOLUTION);
    ASSERT_EQ(resolutions.conType, TWON_ENUMERATION);
    EXPECT_EQ(resolutions.u16(0), TWTY_FIX32);
    ASSERT_EQ(resolutions.u32(2), 7u);
    EXPECT_EQ(resolutions.u32(6), 1u);  // 100
    EXPECT_EQ(resolutions.u32(10), 1u);
    EXPECT_EQ(resolutions.container.size(), 14u + 7 * 4);
    EXPECT_EQ(resolutions.u32(14), packFix32(toFix32(75.0)));
    EXPECT_EQ(resolutions.u32(14 + 6 * 4), packFix32(toFix32(600.0)));
    // The full read lists the same resolutions: those it scans at.
    SourceAnswer advertised = askSource(MSG_GET, ICAP_XRESOLUTION);
    ASSERT_EQ(advertised.conType, TWON_ENUMERATION);
    EXPECT_EQ(advertised.container, resolutions.container);

    SourceAnswer brightness = askSource(MSG_GET, ICAP_BRIGHTNESS);
    ASSERT_EQ(brightness.conType, TWON_RANGE);
    ASSERT_EQ(brightness.container.size(), 22u);
    EXPECT_EQ(brightness.u32(2), packFix32(toFix32(-1000.0)));
    EXPECT_EQ(brightness.u32(6), packFix32(toFix32(1000.0)));
    EXPECT_EQ(brightness.u32(10), packFix32(toFix32(1.0 / 65536)));

    SourceAnswer feeder = askSource(MSG_GETCURRENT, CAP_FEEDERENABLED);
    ASSERT_EQ(feeder.conType, TWON_ONEVALUE);
    EXPECT_EQ(feeder.container.size(), 6u);
    EXPECT_EQ(feeder.u16(0), TWTY_BOOL);

    SourceAnswer count = askSource(MSG_GETCURRENT, CAP_XFERCOUNT);
    ASSERT_EQ(count.conType, TWON_ONEVALUE);
    EXPECT_EQ(count.u16(0), TWTY_INT16);
    EXPECT_EQ(count.u16(2), 0xFFFF);

    SourceAnswer supported = askSource(MSG_GET, CAP_SUPPORTEDCAPS);
    ASSERT_EQ(supported.conType, TWON_ARRAY);
    const TW_UINT32 listed = supported.u32(2);
    std::vector<TW_UINT16> ids;
    for (TW_UINT32 i = 0; i < listed; ++i) {
        ids.push_back(supported.u16(6 + 2 * i));
    }
    for (TW_UINT16 id : {CAP_XFERCOUNT, ICAP_PIXELTYPE, CAP_FEEDPAGE, ICAP_BITDEPTHREDUCTION}) {
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
    }
}

TEST_F(SourceNegotiation, DefaultsAndResetGiveTheDevicesValue) {
    ASSERT_TRUE(setFixed(ICAP_THRESHOLD, 200.0));
    SourceAnswer fallback = askSource(MSG_GETDEFAULT, ICAP_THRESHOLD);
    ASSERT_EQ(fallback.conType, TWON_ONEVALUE);
    EXPECT_EQ(fallback.u32(2), packFix32(toFix32(128.0)));
    EXPECT_EQ(fixed(ICAP_THRESHOLD), 200.0);
    SourceAnswer reset = askSource(MSG_RESET, ICAP_THRESHOLD);
    EXPECT_EQ(reset.resultCode, TWRC_SUCCESS);
    EXPECT_EQ(reset.u32(2), packFix32(toFix32(128.0)));
    EXPECT_EQ(fixed(ICAP_THRESHOLD), 128.0);
}

TEST_F(SourceNegotiation, ASetNeedsATwOneValueItCanRead) {
    const HGLOBAL block = GlobalAlloc(GHND, 3);  // too small for the TWTY_UINT16 it names
    auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
    bytes[0] = TWTY_UINT16;
    GlobalUnlock(block);
    TW_CAPABILITY request = {ICAP_PIXELTYPE, TWON_ONEVALUE, block};
    EXPECT_FALSE(
        dsmCall(&twainSession.sourceIdentity, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &request));
    expectCodes(TWRC_FAILURE, TWCC_BADVALUE);
    request.ConType = TWON_ENUMERATION;
    EXPECT_FALSE(
        dsmCall(&twainSession.sourceIdentity, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &request));
    expectCodes(TWRC_FAILURE, TWCC_BADVALUE);
    GlobalFree(block);
}

}  // namespace
