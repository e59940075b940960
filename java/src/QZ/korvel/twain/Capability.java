package QZ.korvel.twain;

import java.util.ArrayList;
import java.util.Collections;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Locale;
import java.util.Map;

/**
 * A capability of a source, by its number: its name in the standard and the item type the standard
 * gives its values. The constants name the capabilities of the standard; {@link #of} finds one by
 * its number, and {@link #custom} names one of a driver's own (from 0x8000 on).
 *
 * <p>The item type tells what a value is sent as; a source answers with the type it has, which a
 * read reports as it is.
 */
public final class Capability {
    private static final Map<Integer, Capability> STANDARD = new LinkedHashMap<>();

    private final int id;
    private final String name;
    private final ItemType itemType;

    private Capability(int id, String name, ItemType itemType) {
        this.id = id;
        this.name = name;
        this.itemType = itemType;
    }

    private static Capability standard(String name, int id, ItemType itemType) {
        Capability capability = new Capability(id, name, itemType);
        STANDARD.put(id, capability);
        return capability;
    }

    /** CAP_XFERCOUNT (0x0001), items of {@link ItemType#INT16}. */
    public static final Capability CAP_XFERCOUNT =
            standard("CAP_XFERCOUNT", 0x0001, ItemType.INT16);

    /** ICAP_COMPRESSION (0x0100), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_COMPRESSION =
            standard("ICAP_COMPRESSION", 0x0100, ItemType.UINT16);

    /** ICAP_PIXELTYPE (0x0101), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_PIXELTYPE =
            standard("ICAP_PIXELTYPE", 0x0101, ItemType.UINT16);

    /** ICAP_UNITS (0x0102), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_UNITS =
            standard("ICAP_UNITS", 0x0102, ItemType.UINT16);

    /** ICAP_XFERMECH (0x0103), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_XFERMECH =
            standard("ICAP_XFERMECH", 0x0103, ItemType.UINT16);

    /** CAP_AUTHOR (0x1000), items of {@link ItemType#STR128}. */
    public static final Capability CAP_AUTHOR =
            standard("CAP_AUTHOR", 0x1000, ItemType.STR128);

    /** CAP_CAPTION (0x1001), items of {@link ItemType#STR255}. */
    public static final Capability CAP_CAPTION =
            standard("CAP_CAPTION", 0x1001, ItemType.STR255);

    /** CAP_FEEDERENABLED (0x1002), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_FEEDERENABLED =
            standard("CAP_FEEDERENABLED", 0x1002, ItemType.BOOL);

    /** CAP_FEEDERLOADED (0x1003), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_FEEDERLOADED =
            standard("CAP_FEEDERLOADED", 0x1003, ItemType.BOOL);

    /** CAP_TIMEDATE (0x1004), items of {@link ItemType#STR32}. */
    public static final Capability CAP_TIMEDATE =
            standard("CAP_TIMEDATE", 0x1004, ItemType.STR32);

    /** CAP_SUPPORTEDCAPS (0x1005), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_SUPPORTEDCAPS =
            standard("CAP_SUPPORTEDCAPS", 0x1005, ItemType.UINT16);

    /** CAP_EXTENDEDCAPS (0x1006), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_EXTENDEDCAPS =
            standard("CAP_EXTENDEDCAPS", 0x1006, ItemType.UINT16);

    /** CAP_AUTOFEED (0x1007), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_AUTOFEED =
            standard("CAP_AUTOFEED", 0x1007, ItemType.BOOL);

    /** CAP_CLEARPAGE (0x1008), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_CLEARPAGE =
            standard("CAP_CLEARPAGE", 0x1008, ItemType.BOOL);

    /** CAP_FEEDPAGE (0x1009), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_FEEDPAGE =
            standard("CAP_FEEDPAGE", 0x1009, ItemType.BOOL);

    /** CAP_REWINDPAGE (0x100A), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_REWINDPAGE =
            standard("CAP_REWINDPAGE", 0x100A, ItemType.BOOL);

    /** CAP_INDICATORS (0x100B), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_INDICATORS =
            standard("CAP_INDICATORS", 0x100B, ItemType.BOOL);

    /** CAP_PAPERDETECTABLE (0x100D), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_PAPERDETECTABLE =
            standard("CAP_PAPERDETECTABLE", 0x100D, ItemType.BOOL);

    /** CAP_UICONTROLLABLE (0x100E), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_UICONTROLLABLE =
            standard("CAP_UICONTROLLABLE", 0x100E, ItemType.BOOL);

    /** CAP_DEVICEONLINE (0x100F), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_DEVICEONLINE =
            standard("CAP_DEVICEONLINE", 0x100F, ItemType.BOOL);

    /** CAP_AUTOSCAN (0x1010), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_AUTOSCAN =
            standard("CAP_AUTOSCAN", 0x1010, ItemType.BOOL);

    /** CAP_THUMBNAILSENABLED (0x1011), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_THUMBNAILSENABLED =
            standard("CAP_THUMBNAILSENABLED", 0x1011, ItemType.BOOL);

    /** CAP_DUPLEX (0x1012), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_DUPLEX =
            standard("CAP_DUPLEX", 0x1012, ItemType.UINT16);

    /** CAP_DUPLEXENABLED (0x1013), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_DUPLEXENABLED =
            standard("CAP_DUPLEXENABLED", 0x1013, ItemType.BOOL);

    /** CAP_ENABLEDSUIONLY (0x1014), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_ENABLEDSUIONLY =
            standard("CAP_ENABLEDSUIONLY", 0x1014, ItemType.BOOL);

    /** CAP_CUSTOMDSDATA (0x1015), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_CUSTOMDSDATA =
            standard("CAP_CUSTOMDSDATA", 0x1015, ItemType.BOOL);

    /** CAP_ENDORSER (0x1016), items of {@link ItemType#UINT32}. */
    public static final Capability CAP_ENDORSER =
            standard("CAP_ENDORSER", 0x1016, ItemType.UINT32);

    /** CAP_JOBCONTROL (0x1017), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_JOBCONTROL =
            standard("CAP_JOBCONTROL", 0x1017, ItemType.UINT16);

    /** CAP_ALARMS (0x1018), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_ALARMS =
            standard("CAP_ALARMS", 0x1018, ItemType.UINT16);

    /** CAP_ALARMVOLUME (0x1019), items of {@link ItemType#INT32}. */
    public static final Capability CAP_ALARMVOLUME =
            standard("CAP_ALARMVOLUME", 0x1019, ItemType.INT32);

    /** CAP_AUTOMATICCAPTURE (0x101A), items of {@link ItemType#INT32}. */
    public static final Capability CAP_AUTOMATICCAPTURE =
            standard("CAP_AUTOMATICCAPTURE", 0x101A, ItemType.INT32);

    /** CAP_TIMEBEFOREFIRSTCAPTURE (0x101B), items of {@link ItemType#INT32}. */
    public static final Capability CAP_TIMEBEFOREFIRSTCAPTURE =
            standard("CAP_TIMEBEFOREFIRSTCAPTURE", 0x101B, ItemType.INT32);

    /** CAP_TIMEBETWEENCAPTURES (0x101C), items of {@link ItemType#INT32}. */
    public static final Capability CAP_TIMEBETWEENCAPTURES =
            standard("CAP_TIMEBETWEENCAPTURES", 0x101C, ItemType.INT32);

    /** CAP_CLEARBUFFERS (0x101D), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_CLEARBUFFERS =
            standard("CAP_CLEARBUFFERS", 0x101D, ItemType.UINT16);

    /** CAP_MAXBATCHBUFFERS (0x101E), items of {@link ItemType#UINT32}. */
    public static final Capability CAP_MAXBATCHBUFFERS =
            standard("CAP_MAXBATCHBUFFERS", 0x101E, ItemType.UINT32);

    /** CAP_DEVICETIMEDATE (0x101F), items of {@link ItemType#STR32}. */
    public static final Capability CAP_DEVICETIMEDATE =
            standard("CAP_DEVICETIMEDATE", 0x101F, ItemType.STR32);

    /** CAP_POWERSUPPLY (0x1020), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_POWERSUPPLY =
            standard("CAP_POWERSUPPLY", 0x1020, ItemType.UINT16);

    /** CAP_CAMERAPREVIEWUI (0x1021), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_CAMERAPREVIEWUI =
            standard("CAP_CAMERAPREVIEWUI", 0x1021, ItemType.BOOL);

    /** CAP_DEVICEEVENT (0x1022), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_DEVICEEVENT =
            standard("CAP_DEVICEEVENT", 0x1022, ItemType.UINT16);

    /** CAP_SERIALNUMBER (0x1024), items of {@link ItemType#STR255}. */
    public static final Capability CAP_SERIALNUMBER =
            standard("CAP_SERIALNUMBER", 0x1024, ItemType.STR255);

    /** CAP_PRINTER (0x1026), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_PRINTER =
            standard("CAP_PRINTER", 0x1026, ItemType.UINT16);

    /** CAP_PRINTERENABLED (0x1027), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_PRINTERENABLED =
            standard("CAP_PRINTERENABLED", 0x1027, ItemType.BOOL);

    /** CAP_PRINTERINDEX (0x1028), items of {@link ItemType#UINT32}. */
    public static final Capability CAP_PRINTERINDEX =
            standard("CAP_PRINTERINDEX", 0x1028, ItemType.UINT32);

    /** CAP_PRINTERMODE (0x1029), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_PRINTERMODE =
            standard("CAP_PRINTERMODE", 0x1029, ItemType.UINT16);

    /** CAP_PRINTERSTRING (0x102A), items of {@link ItemType#STR255}. */
    public static final Capability CAP_PRINTERSTRING =
            standard("CAP_PRINTERSTRING", 0x102A, ItemType.STR255);

    /** CAP_PRINTERSUFFIX (0x102B), items of {@link ItemType#STR255}. */
    public static final Capability CAP_PRINTERSUFFIX =
            standard("CAP_PRINTERSUFFIX", 0x102B, ItemType.STR255);

    /** CAP_LANGUAGE (0x102C), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_LANGUAGE =
            standard("CAP_LANGUAGE", 0x102C, ItemType.UINT16);

    /** CAP_FEEDERALIGNMENT (0x102D), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_FEEDERALIGNMENT =
            standard("CAP_FEEDERALIGNMENT", 0x102D, ItemType.UINT16);

    /** CAP_FEEDERORDER (0x102E), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_FEEDERORDER =
            standard("CAP_FEEDERORDER", 0x102E, ItemType.UINT16);

    /** CAP_REACQUIREALLOWED (0x1030), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_REACQUIREALLOWED =
            standard("CAP_REACQUIREALLOWED", 0x1030, ItemType.BOOL);

    /** CAP_BATTERYMINUTES (0x1032), items of {@link ItemType#INT32}. */
    public static final Capability CAP_BATTERYMINUTES =
            standard("CAP_BATTERYMINUTES", 0x1032, ItemType.INT32);

    /** CAP_BATTERYPERCENTAGE (0x1033), items of {@link ItemType#INT16}. */
    public static final Capability CAP_BATTERYPERCENTAGE =
            standard("CAP_BATTERYPERCENTAGE", 0x1033, ItemType.INT16);

    /** CAP_CAMERASIDE (0x1034), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_CAMERASIDE =
            standard("CAP_CAMERASIDE", 0x1034, ItemType.UINT16);

    /** CAP_SEGMENTED (0x1035), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_SEGMENTED =
            standard("CAP_SEGMENTED", 0x1035, ItemType.UINT16);

    /** CAP_CAMERAENABLED (0x1036), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_CAMERAENABLED =
            standard("CAP_CAMERAENABLED", 0x1036, ItemType.BOOL);

    /** CAP_CAMERAORDER (0x1037), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_CAMERAORDER =
            standard("CAP_CAMERAORDER", 0x1037, ItemType.UINT16);

    /** CAP_MICRENABLED (0x1038), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_MICRENABLED =
            standard("CAP_MICRENABLED", 0x1038, ItemType.BOOL);

    /** CAP_FEEDERPREP (0x1039), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_FEEDERPREP =
            standard("CAP_FEEDERPREP", 0x1039, ItemType.BOOL);

    /** CAP_FEEDERPOCKET (0x103A), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_FEEDERPOCKET =
            standard("CAP_FEEDERPOCKET", 0x103A, ItemType.UINT16);

    /** CAP_AUTOMATICSENSEMEDIUM (0x103B), items of {@link ItemType#BOOL}. */
    public static final Capability CAP_AUTOMATICSENSEMEDIUM =
            standard("CAP_AUTOMATICSENSEMEDIUM", 0x103B, ItemType.BOOL);

    /** CAP_CUSTOMINTERFACEGUID (0x103C), items of {@link ItemType#STR255}. */
    public static final Capability CAP_CUSTOMINTERFACEGUID =
            standard("CAP_CUSTOMINTERFACEGUID", 0x103C, ItemType.STR255);

    /** CAP_SUPPORTEDCAPSSEGMENTUNIQUE (0x103D), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_SUPPORTEDCAPSSEGMENTUNIQUE =
            standard("CAP_SUPPORTEDCAPSSEGMENTUNIQUE", 0x103D, ItemType.UINT16);

    /** CAP_SUPPORTEDDATS (0x103E), items of {@link ItemType#UINT32}. */
    public static final Capability CAP_SUPPORTEDDATS =
            standard("CAP_SUPPORTEDDATS", 0x103E, ItemType.UINT32);

    /** CAP_DOUBLEFEEDDETECTION (0x103F), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_DOUBLEFEEDDETECTION =
            standard("CAP_DOUBLEFEEDDETECTION", 0x103F, ItemType.UINT16);

    /** CAP_DOUBLEFEEDDETECTIONLENGTH (0x1040), items of {@link ItemType#FIX32}. */
    public static final Capability CAP_DOUBLEFEEDDETECTIONLENGTH =
            standard("CAP_DOUBLEFEEDDETECTIONLENGTH", 0x1040, ItemType.FIX32);

    /** CAP_DOUBLEFEEDDETECTIONSENSITIVITY (0x1041), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_DOUBLEFEEDDETECTIONSENSITIVITY =
            standard("CAP_DOUBLEFEEDDETECTIONSENSITIVITY", 0x1041, ItemType.UINT16);

    /** CAP_DOUBLEFEEDDETECTIONRESPONSE (0x1042), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_DOUBLEFEEDDETECTIONRESPONSE =
            standard("CAP_DOUBLEFEEDDETECTIONRESPONSE", 0x1042, ItemType.UINT16);

    /** CAP_PAPERHANDLING (0x1043), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_PAPERHANDLING =
            standard("CAP_PAPERHANDLING", 0x1043, ItemType.UINT16);

    /** CAP_INDICATORSMODE (0x1044), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_INDICATORSMODE =
            standard("CAP_INDICATORSMODE", 0x1044, ItemType.UINT16);

    /** CAP_PRINTERVERTICALOFFSET (0x1045), items of {@link ItemType#FIX32}. */
    public static final Capability CAP_PRINTERVERTICALOFFSET =
            standard("CAP_PRINTERVERTICALOFFSET", 0x1045, ItemType.FIX32);

    /** CAP_POWERSAVETIME (0x1046), items of {@link ItemType#INT32}. */
    public static final Capability CAP_POWERSAVETIME =
            standard("CAP_POWERSAVETIME", 0x1046, ItemType.INT32);

    /** CAP_PRINTERCHARROTATION (0x1047), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_PRINTERCHARROTATION =
            standard("CAP_PRINTERCHARROTATION", 0x1047, ItemType.UINT16);

    /** CAP_PRINTERFONTSTYLE (0x1048), items of {@link ItemType#UINT16}. */
    public static final Capability CAP_PRINTERFONTSTYLE =
            standard("CAP_PRINTERFONTSTYLE", 0x1048, ItemType.UINT16);

    /** CAP_PRINTERINDEXLEADCHAR (0x1049), items of {@link ItemType#STR32}. */
    public static final Capability CAP_PRINTERINDEXLEADCHAR =
            standard("CAP_PRINTERINDEXLEADCHAR", 0x1049, ItemType.STR32);

    /** CAP_PRINTERINDEXMAXVALUE (0x104A), items of {@link ItemType#UINT32}. */
    public static final Capability CAP_PRINTERINDEXMAXVALUE =
            standard("CAP_PRINTERINDEXMAXVALUE", 0x104A, ItemType.UINT32);

    /** CAP_PRINTERINDEXNUMDIGITS (0x104B), items of {@link ItemType#UINT32}. */
    public static final Capability CAP_PRINTERINDEXNUMDIGITS =
            standard("CAP_PRINTERINDEXNUMDIGITS", 0x104B, ItemType.UINT32);

    /** CAP_PRINTERINDEXSTEP (0x104C), items of {@link ItemType#UINT32}. */
    public static final Capability CAP_PRINTERINDEXSTEP =
            standard("CAP_PRINTERINDEXSTEP", 0x104C, ItemType.UINT32);

    /** CAP_PRINTERINDEXTRIGGER (0x104D), items of {@link ItemType#UINT32}. */
    public static final Capability CAP_PRINTERINDEXTRIGGER =
            standard("CAP_PRINTERINDEXTRIGGER", 0x104D, ItemType.UINT32);

    /** CAP_PRINTERSTRINGPREVIEW (0x104E), items of {@link ItemType#STR255}. */
    public static final Capability CAP_PRINTERSTRINGPREVIEW =
            standard("CAP_PRINTERSTRINGPREVIEW", 0x104E, ItemType.STR255);

    /** ICAP_AUTOBRIGHT (0x1100), items of {@link ItemType#BOOL}. */
    public static final Capability ICAP_AUTOBRIGHT =
            standard("ICAP_AUTOBRIGHT", 0x1100, ItemType.BOOL);

    /** ICAP_BRIGHTNESS (0x1101), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_BRIGHTNESS =
            standard("ICAP_BRIGHTNESS", 0x1101, ItemType.FIX32);

    /** ICAP_CONTRAST (0x1103), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_CONTRAST =
            standard("ICAP_CONTRAST", 0x1103, ItemType.FIX32);

    /** ICAP_CUSTHALFTONE (0x1104), items of {@link ItemType#UINT8}. */
    public static final Capability ICAP_CUSTHALFTONE =
            standard("ICAP_CUSTHALFTONE", 0x1104, ItemType.UINT8);

    /** ICAP_EXPOSURETIME (0x1105), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_EXPOSURETIME =
            standard("ICAP_EXPOSURETIME", 0x1105, ItemType.FIX32);

    /** ICAP_FILTER (0x1106), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_FILTER =
            standard("ICAP_FILTER", 0x1106, ItemType.UINT16);

    /** ICAP_FLASHUSED (0x1107), items of {@link ItemType#BOOL}. */
    public static final Capability ICAP_FLASHUSED =
            standard("ICAP_FLASHUSED", 0x1107, ItemType.BOOL);

    /** ICAP_GAMMA (0x1108), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_GAMMA =
            standard("ICAP_GAMMA", 0x1108, ItemType.FIX32);

    /** ICAP_HALFTONES (0x1109), items of {@link ItemType#STR32}. */
    public static final Capability ICAP_HALFTONES =
            standard("ICAP_HALFTONES", 0x1109, ItemType.STR32);

    /** ICAP_HIGHLIGHT (0x110A), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_HIGHLIGHT =
            standard("ICAP_HIGHLIGHT", 0x110A, ItemType.FIX32);

    /** ICAP_IMAGEFILEFORMAT (0x110C), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_IMAGEFILEFORMAT =
            standard("ICAP_IMAGEFILEFORMAT", 0x110C, ItemType.UINT16);

    /** ICAP_LAMPSTATE (0x110D), items of {@link ItemType#BOOL}. */
    public static final Capability ICAP_LAMPSTATE =
            standard("ICAP_LAMPSTATE", 0x110D, ItemType.BOOL);

    /** ICAP_LIGHTSOURCE (0x110E), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_LIGHTSOURCE =
            standard("ICAP_LIGHTSOURCE", 0x110E, ItemType.UINT16);

    /** ICAP_ORIENTATION (0x1110), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_ORIENTATION =
            standard("ICAP_ORIENTATION", 0x1110, ItemType.UINT16);

    /** ICAP_PHYSICALWIDTH (0x1111), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_PHYSICALWIDTH =
            standard("ICAP_PHYSICALWIDTH", 0x1111, ItemType.FIX32);

    /** ICAP_PHYSICALHEIGHT (0x1112), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_PHYSICALHEIGHT =
            standard("ICAP_PHYSICALHEIGHT", 0x1112, ItemType.FIX32);

    /** ICAP_SHADOW (0x1113), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_SHADOW =
            standard("ICAP_SHADOW", 0x1113, ItemType.FIX32);

    /** ICAP_FRAMES (0x1114), items of {@link ItemType#FRAME}. */
    public static final Capability ICAP_FRAMES =
            standard("ICAP_FRAMES", 0x1114, ItemType.FRAME);

    /** ICAP_XNATIVERESOLUTION (0x1116), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_XNATIVERESOLUTION =
            standard("ICAP_XNATIVERESOLUTION", 0x1116, ItemType.FIX32);

    /** ICAP_YNATIVERESOLUTION (0x1117), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_YNATIVERESOLUTION =
            standard("ICAP_YNATIVERESOLUTION", 0x1117, ItemType.FIX32);

    /** ICAP_XRESOLUTION (0x1118), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_XRESOLUTION =
            standard("ICAP_XRESOLUTION", 0x1118, ItemType.FIX32);

    /** ICAP_YRESOLUTION (0x1119), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_YRESOLUTION =
            standard("ICAP_YRESOLUTION", 0x1119, ItemType.FIX32);

    /** ICAP_MAXFRAMES (0x111A), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_MAXFRAMES =
            standard("ICAP_MAXFRAMES", 0x111A, ItemType.UINT16);

    /** ICAP_TILES (0x111B), items of {@link ItemType#BOOL}. */
    public static final Capability ICAP_TILES =
            standard("ICAP_TILES", 0x111B, ItemType.BOOL);

    /** ICAP_BITORDER (0x111C), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_BITORDER =
            standard("ICAP_BITORDER", 0x111C, ItemType.UINT16);

    /** ICAP_CCITTKFACTOR (0x111D), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_CCITTKFACTOR =
            standard("ICAP_CCITTKFACTOR", 0x111D, ItemType.UINT16);

    /** ICAP_LIGHTPATH (0x111E), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_LIGHTPATH =
            standard("ICAP_LIGHTPATH", 0x111E, ItemType.UINT16);

    /** ICAP_PIXELFLAVOR (0x111F), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_PIXELFLAVOR =
            standard("ICAP_PIXELFLAVOR", 0x111F, ItemType.UINT16);

    /** ICAP_PLANARCHUNKY (0x1120), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_PLANARCHUNKY =
            standard("ICAP_PLANARCHUNKY", 0x1120, ItemType.UINT16);

    /** ICAP_ROTATION (0x1121), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_ROTATION =
            standard("ICAP_ROTATION", 0x1121, ItemType.FIX32);

    /** ICAP_SUPPORTEDSIZES (0x1122), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_SUPPORTEDSIZES =
            standard("ICAP_SUPPORTEDSIZES", 0x1122, ItemType.UINT16);

    /** ICAP_THRESHOLD (0x1123), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_THRESHOLD =
            standard("ICAP_THRESHOLD", 0x1123, ItemType.FIX32);

    /** ICAP_XSCALING (0x1124), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_XSCALING =
            standard("ICAP_XSCALING", 0x1124, ItemType.FIX32);

    /** ICAP_YSCALING (0x1125), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_YSCALING =
            standard("ICAP_YSCALING", 0x1125, ItemType.FIX32);

    /** ICAP_BITORDERCODES (0x1126), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_BITORDERCODES =
            standard("ICAP_BITORDERCODES", 0x1126, ItemType.UINT16);

    /** ICAP_PIXELFLAVORCODES (0x1127), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_PIXELFLAVORCODES =
            standard("ICAP_PIXELFLAVORCODES", 0x1127, ItemType.UINT16);

    /** ICAP_JPEGPIXELTYPE (0x1128), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_JPEGPIXELTYPE =
            standard("ICAP_JPEGPIXELTYPE", 0x1128, ItemType.UINT16);

    /** ICAP_TIMEFILL (0x112A), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_TIMEFILL =
            standard("ICAP_TIMEFILL", 0x112A, ItemType.UINT16);

    /** ICAP_BITDEPTH (0x112B), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_BITDEPTH =
            standard("ICAP_BITDEPTH", 0x112B, ItemType.UINT16);

    /** ICAP_BITDEPTHREDUCTION (0x112C), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_BITDEPTHREDUCTION =
            standard("ICAP_BITDEPTHREDUCTION", 0x112C, ItemType.UINT16);

    /** ICAP_UNDEFINEDIMAGESIZE (0x112D), items of {@link ItemType#BOOL}. */
    public static final Capability ICAP_UNDEFINEDIMAGESIZE =
            standard("ICAP_UNDEFINEDIMAGESIZE", 0x112D, ItemType.BOOL);

    /** ICAP_IMAGEDATASET (0x112E), items of {@link ItemType#UINT32}. */
    public static final Capability ICAP_IMAGEDATASET =
            standard("ICAP_IMAGEDATASET", 0x112E, ItemType.UINT32);

    /** ICAP_EXTIMAGEINFO (0x112F), items of {@link ItemType#BOOL}. */
    public static final Capability ICAP_EXTIMAGEINFO =
            standard("ICAP_EXTIMAGEINFO", 0x112F, ItemType.BOOL);

    /** ICAP_MINIMUMHEIGHT (0x1130), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_MINIMUMHEIGHT =
            standard("ICAP_MINIMUMHEIGHT", 0x1130, ItemType.FIX32);

    /** ICAP_MINIMUMWIDTH (0x1131), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_MINIMUMWIDTH =
            standard("ICAP_MINIMUMWIDTH", 0x1131, ItemType.FIX32);

    /** ICAP_AUTODISCARDBLANKPAGES (0x1134), items of {@link ItemType#INT32}. */
    public static final Capability ICAP_AUTODISCARDBLANKPAGES =
            standard("ICAP_AUTODISCARDBLANKPAGES", 0x1134, ItemType.INT32);

    /** ICAP_FLIPROTATION (0x1136), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_FLIPROTATION =
            standard("ICAP_FLIPROTATION", 0x1136, ItemType.UINT16);

    /** ICAP_BARCODEDETECTIONENABLED (0x1137), items of {@link ItemType#BOOL}. */
    public static final Capability ICAP_BARCODEDETECTIONENABLED =
            standard("ICAP_BARCODEDETECTIONENABLED", 0x1137, ItemType.BOOL);

    /** ICAP_SUPPORTEDBARCODETYPES (0x1138), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_SUPPORTEDBARCODETYPES =
            standard("ICAP_SUPPORTEDBARCODETYPES", 0x1138, ItemType.UINT16);

    /** ICAP_BARCODEMAXSEARCHPRIORITIES (0x1139), items of {@link ItemType#UINT32}. */
    public static final Capability ICAP_BARCODEMAXSEARCHPRIORITIES =
            standard("ICAP_BARCODEMAXSEARCHPRIORITIES", 0x1139, ItemType.UINT32);

    /** ICAP_BARCODESEARCHPRIORITIES (0x113A), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_BARCODESEARCHPRIORITIES =
            standard("ICAP_BARCODESEARCHPRIORITIES", 0x113A, ItemType.UINT16);

    /** ICAP_BARCODESEARCHMODE (0x113B), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_BARCODESEARCHMODE =
            standard("ICAP_BARCODESEARCHMODE", 0x113B, ItemType.UINT16);

    /** ICAP_BARCODEMAXRETRIES (0x113C), items of {@link ItemType#UINT32}. */
    public static final Capability ICAP_BARCODEMAXRETRIES =
            standard("ICAP_BARCODEMAXRETRIES", 0x113C, ItemType.UINT32);

    /** ICAP_BARCODETIMEOUT (0x113D), items of {@link ItemType#UINT32}. */
    public static final Capability ICAP_BARCODETIMEOUT =
            standard("ICAP_BARCODETIMEOUT", 0x113D, ItemType.UINT32);

    /** ICAP_ZOOMFACTOR (0x113E), items of {@link ItemType#INT16}. */
    public static final Capability ICAP_ZOOMFACTOR =
            standard("ICAP_ZOOMFACTOR", 0x113E, ItemType.INT16);

    /** ICAP_PATCHCODEDETECTIONENABLED (0x113F), items of {@link ItemType#BOOL}. */
    public static final Capability ICAP_PATCHCODEDETECTIONENABLED =
            standard("ICAP_PATCHCODEDETECTIONENABLED", 0x113F, ItemType.BOOL);

    /** ICAP_SUPPORTEDPATCHCODETYPES (0x1140), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_SUPPORTEDPATCHCODETYPES =
            standard("ICAP_SUPPORTEDPATCHCODETYPES", 0x1140, ItemType.UINT16);

    /** ICAP_PATCHCODEMAXSEARCHPRIORITIES (0x1141), items of {@link ItemType#UINT32}. */
    public static final Capability ICAP_PATCHCODEMAXSEARCHPRIORITIES =
            standard("ICAP_PATCHCODEMAXSEARCHPRIORITIES", 0x1141, ItemType.UINT32);

    /** ICAP_PATCHCODESEARCHPRIORITIES (0x1142), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_PATCHCODESEARCHPRIORITIES =
            standard("ICAP_PATCHCODESEARCHPRIORITIES", 0x1142, ItemType.UINT16);

    /** ICAP_PATCHCODESEARCHMODE (0x1143), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_PATCHCODESEARCHMODE =
            standard("ICAP_PATCHCODESEARCHMODE", 0x1143, ItemType.UINT16);

    /** ICAP_PATCHCODEMAXRETRIES (0x1144), items of {@link ItemType#UINT32}. */
    public static final Capability ICAP_PATCHCODEMAXRETRIES =
            standard("ICAP_PATCHCODEMAXRETRIES", 0x1144, ItemType.UINT32);

    /** ICAP_PATCHCODETIMEOUT (0x1145), items of {@link ItemType#UINT32}. */
    public static final Capability ICAP_PATCHCODETIMEOUT =
            standard("ICAP_PATCHCODETIMEOUT", 0x1145, ItemType.UINT32);

    /** ICAP_FLASHUSED2 (0x1146), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_FLASHUSED2 =
            standard("ICAP_FLASHUSED2", 0x1146, ItemType.UINT16);

    /** ICAP_IMAGEFILTER (0x1147), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_IMAGEFILTER =
            standard("ICAP_IMAGEFILTER", 0x1147, ItemType.UINT16);

    /** ICAP_NOISEFILTER (0x1148), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_NOISEFILTER =
            standard("ICAP_NOISEFILTER", 0x1148, ItemType.UINT16);

    /** ICAP_OVERSCAN (0x1149), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_OVERSCAN =
            standard("ICAP_OVERSCAN", 0x1149, ItemType.UINT16);

    /** ICAP_AUTOMATICBORDERDETECTION (0x1150), items of {@link ItemType#BOOL}. */
    public static final Capability ICAP_AUTOMATICBORDERDETECTION =
            standard("ICAP_AUTOMATICBORDERDETECTION", 0x1150, ItemType.BOOL);

    /** ICAP_AUTOMATICDESKEW (0x1151), items of {@link ItemType#BOOL}. */
    public static final Capability ICAP_AUTOMATICDESKEW =
            standard("ICAP_AUTOMATICDESKEW", 0x1151, ItemType.BOOL);

    /** ICAP_AUTOMATICROTATE (0x1152), items of {@link ItemType#BOOL}. */
    public static final Capability ICAP_AUTOMATICROTATE =
            standard("ICAP_AUTOMATICROTATE", 0x1152, ItemType.BOOL);

    /** ICAP_JPEGQUALITY (0x1153), items of {@link ItemType#INT16}. */
    public static final Capability ICAP_JPEGQUALITY =
            standard("ICAP_JPEGQUALITY", 0x1153, ItemType.INT16);

    /** ICAP_FEEDERTYPE (0x1154), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_FEEDERTYPE =
            standard("ICAP_FEEDERTYPE", 0x1154, ItemType.UINT16);

    /** ICAP_ICCPROFILE (0x1155), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_ICCPROFILE =
            standard("ICAP_ICCPROFILE", 0x1155, ItemType.UINT16);

    /** ICAP_AUTOSIZE (0x1156), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_AUTOSIZE =
            standard("ICAP_AUTOSIZE", 0x1156, ItemType.UINT16);

    /** ICAP_AUTOMATICCROPUSESFRAME (0x1157), items of {@link ItemType#BOOL}. */
    public static final Capability ICAP_AUTOMATICCROPUSESFRAME =
            standard("ICAP_AUTOMATICCROPUSESFRAME", 0x1157, ItemType.BOOL);

    /** ICAP_AUTOMATICLENGTHDETECTION (0x1158), items of {@link ItemType#BOOL}. */
    public static final Capability ICAP_AUTOMATICLENGTHDETECTION =
            standard("ICAP_AUTOMATICLENGTHDETECTION", 0x1158, ItemType.BOOL);

    /** ICAP_AUTOMATICCOLORENABLED (0x1159), items of {@link ItemType#BOOL}. */
    public static final Capability ICAP_AUTOMATICCOLORENABLED =
            standard("ICAP_AUTOMATICCOLORENABLED", 0x1159, ItemType.BOOL);

    /** ICAP_AUTOMATICCOLORNONCOLORPIXELTYPE (0x115A), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_AUTOMATICCOLORNONCOLORPIXELTYPE =
            standard("ICAP_AUTOMATICCOLORNONCOLORPIXELTYPE", 0x115A, ItemType.UINT16);

    /** ICAP_COLORMANAGEMENTENABLED (0x115B), items of {@link ItemType#BOOL}. */
    public static final Capability ICAP_COLORMANAGEMENTENABLED =
            standard("ICAP_COLORMANAGEMENTENABLED", 0x115B, ItemType.BOOL);

    /** ICAP_IMAGEMERGE (0x115C), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_IMAGEMERGE =
            standard("ICAP_IMAGEMERGE", 0x115C, ItemType.UINT16);

    /** ICAP_IMAGEMERGEHEIGHTTHRESHOLD (0x115D), items of {@link ItemType#FIX32}. */
    public static final Capability ICAP_IMAGEMERGEHEIGHTTHRESHOLD =
            standard("ICAP_IMAGEMERGEHEIGHTTHRESHOLD", 0x115D, ItemType.FIX32);

    /** ICAP_SUPPORTEDEXTIMAGEINFO (0x115E), items of {@link ItemType#UINT16}. */
    public static final Capability ICAP_SUPPORTEDEXTIMAGEINFO =
            standard("ICAP_SUPPORTEDEXTIMAGEINFO", 0x115E, ItemType.UINT16);

    /**
     * The capability of that number: the standard's, or else one known by its number only, whose
     * item type is null until {@link #custom} names it.
     *
     * @param id the capability's number, 0 to 65535
     * @return the capability
     * @throws IllegalArgumentException if the number is out of range
     */
    public static Capability of(int id) {
        checkId(id);
        Capability known = STANDARD.get(id);
        return known != null ? known : new Capability(id, hex(id), null);
    }

    /**
     * A capability with an item type of the caller's: a driver's own (from 0x8000 on), or one the
     * standard does not list here.
     *
     * @param id the capability's number, 0 to 65535
     * @param itemType the type its values are sent as
     * @return the capability
     * @throws IllegalArgumentException if the number is out of range
     */
    public static Capability custom(int id, ItemType itemType) {
        checkId(id);
        if (itemType == null) {
            throw new NullPointerException("itemType");
        }
        Capability known = STANDARD.get(id);
        return new Capability(id, known != null ? known.name : hex(id), itemType);
    }

    /**
     * The capabilities of the standard that this class names, in the order of their numbers.
     *
     * @return the capabilities
     */
    public static List<Capability> standard() {
        List<Capability> all = new ArrayList<>(STANDARD.values());
        Collections.sort(all, (a, b) -> Integer.compare(a.id, b.id));
        return Collections.unmodifiableList(all);
    }

    private static void checkId(int id) {
        if (id < 0 || id > 0xFFFF) {
            throw new IllegalArgumentException("a capability's number is 0 to 65535, not " + id);
        }
    }

    private static String hex(int id) {
        return String.format(Locale.ROOT, "0x%04X", id);
    }

    /**
     * The capability's number.
     *
     * @return 0 to 65535
     */
    public int id() {
        return id;
    }

    /**
     * The standard's name, such as ICAP_XRESOLUTION, or the number in hexadecimal for a capability
     * the standard does not name.
     *
     * @return the name
     */
    public String name() {
        return name;
    }

    /**
     * The type the capability's values are sent as.
     *
     * @return the item type, or null for a capability known by its number only
     */
    public ItemType itemType() {
        return itemType;
    }

    @Override
    public boolean equals(Object other) {
        return other instanceof Capability && ((Capability) other).id == id
                && ((Capability) other).itemType == itemType;
    }

    @Override
    public int hashCode() {
        return id;
    }

    /** The name, and the number when the name is not a number already. */
    @Override
    public String toString() {
        return name.startsWith("0x") ? name : name + " (" + hex(id) + ")";
    }
}
