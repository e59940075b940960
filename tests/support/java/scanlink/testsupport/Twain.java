package scanlink.testsupport;

/** TWAIN constants the tests name, as the standard gives them. */
public final class Twain {
    private Twain() {}

    public static final int DG_CONTROL = 1;
    public static final int DG_IMAGE = 2;

    public static final int DAT_CAPABILITY = 0x0001;
    public static final int DAT_EVENT = 0x0002;
    public static final int DAT_IDENTITY = 0x0003;
    public static final int DAT_PARENT = 0x0004;
    public static final int DAT_PENDINGXFERS = 0x0005;
    public static final int DAT_STATUS = 0x0008;
    public static final int DAT_USERINTERFACE = 0x0009;
    public static final int DAT_IMAGELAYOUT = 0x0102;
    public static final int DAT_IMAGEINFO = 0x0101;
    public static final int DAT_IMAGEMEMXFER = 0x0103;
    public static final int DAT_IMAGENATIVEXFER = 0x0104;
    public static final int DAT_IMAGEFILEXFER = 0x0105;

    public static final int MSG_GET = 0x0001;
    public static final int MSG_GETCURRENT = 0x0002;
    public static final int MSG_SET = 0x0006;
    public static final int MSG_RESET = 0x0007;
    public static final int MSG_OPENDSM = 0x0301;
    public static final int MSG_CLOSEDSM = 0x0302;
    public static final int MSG_OPENDS = 0x0401;
    public static final int MSG_CLOSEDS = 0x0402;
    public static final int MSG_USERSELECT = 0x0403;
    public static final int MSG_DISABLEDS = 0x0501;
    public static final int MSG_ENABLEDS = 0x0502;
    public static final int MSG_PROCESSEVENT = 0x0601;
    public static final int MSG_ENDXFER = 0x0701;

    public static final int CAP_XFERCOUNT = 0x0001;
    public static final int CAP_FEEDERENABLED = 0x1002;
    public static final int ICAP_PIXELTYPE = 0x0101;
    public static final int ICAP_UNITS = 0x0102;
    public static final int ICAP_BRIGHTNESS = 0x1101;
    public static final int ICAP_XRESOLUTION = 0x1118;

    public static final int TWRC_SUCCESS = 0;
    public static final int TWRC_FAILURE = 1;
    public static final int TWRC_CANCEL = 3;
    public static final int TWRC_NOTDSEVENT = 5;

    public static final int TWCC_BUMMER = 1;
    public static final int TWCC_LOWMEMORY = 2;
    public static final int TWCC_NODS = 3;
    public static final int TWCC_OPERATIONERROR = 5;
    public static final int TWCC_SEQERROR = 11;
    public static final int TWCC_BADVALUE = 10;
    public static final int TWCC_CAPUNSUPPORTED = 13;

    public static final int TWTY_UINT16 = 4;
    public static final int TWTY_BOOL = 6;
    public static final int TWTY_FIX32 = 7;

    public static final int TWON_ARRAY = 3;
    public static final int TWON_ENUMERATION = 4;
    public static final int TWON_ONEVALUE = 5;
    public static final int TWON_RANGE = 6;

    public static final short TWPT_BW = 0;
    public static final short TWPT_GRAY = 1;
    public static final short TWPT_RGB = 2;
    public static final short TWUN_CENTIMETERS = 1;
}
