package scanlink.scan;

/** Names of the TWAIN result and condition codes, for messages a person reads. */
final class TwainCodes {
    private static final String[] RESULTS = {"TWRC_SUCCESS", "TWRC_FAILURE", "TWRC_CHECKSTATUS",
            "TWRC_CANCEL", "TWRC_DSEVENT", "TWRC_NOTDSEVENT", "TWRC_XFERDONE", "TWRC_ENDOFLIST"};
    private static final String[] CONDITIONS = {"TWCC_SUCCESS", "TWCC_BUMMER", "TWCC_LOWMEMORY",
            "TWCC_NODS", "TWCC_MAXCONNECTIONS", "TWCC_OPERATIONERROR", "TWCC_BADCAP", null, null,
            "TWCC_BADPROTOCOL", "TWCC_BADVALUE", "TWCC_SEQERROR", "TWCC_BADDEST",
            "TWCC_CAPUNSUPPORTED", "TWCC_CAPBADOPERATION", "TWCC_CAPSEQERROR", "TWCC_DENIED",
            "TWCC_FILEEXISTS", "TWCC_FILENOTFOUND", "TWCC_NOTEMPTY", "TWCC_PAPERJAM",
            "TWCC_PAPERDOUBLEFEED", "TWCC_FILEWRITEERROR", "TWCC_CHECKDEVICEONLINE"};

    private TwainCodes() {}

    static String describe(short resultCode, short conditionCode) {
        return String.format("TWAIN result code %s, condition code %s",
                name(resultCode & 0xFFFF, RESULTS), name(conditionCode & 0xFFFF, CONDITIONS));
    }

    private static String name(int code, String[] names) {
        return code < names.length && names[code] != null ? code + " (" + names[code] + ")"
                                                          : String.valueOf(code);
    }
}
