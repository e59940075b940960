package QZ.korvel.twain;

/** Names of the TWAIN result and condition codes, for messages that a person reads. */
public final class TwainCodes {
    private static final String[] RESULTS = {"TWRC_SUCCESS", "TWRC_FAILURE", "TWRC_CHECKSTATUS",
            "TWRC_CANCEL", "TWRC_DSEVENT", "TWRC_NOTDSEVENT", "TWRC_XFERDONE", "TWRC_ENDOFLIST",
            "TWRC_INFONOTSUPPORTED", "TWRC_DATANOTAVAILABLE", "TWRC_BUSY", "TWRC_SCANNERLOCKED"};
    // 7 and 8 are unassigned in every version of the standard.
    private static final String[] CONDITIONS = {"TWCC_SUCCESS", "TWCC_BUMMER", "TWCC_LOWMEMORY",
            "TWCC_NODS", "TWCC_MAXCONNECTIONS", "TWCC_OPERATIONERROR", "TWCC_BADCAP", null, null,
            "TWCC_BADPROTOCOL", "TWCC_BADVALUE", "TWCC_SEQERROR", "TWCC_BADDEST",
            "TWCC_CAPUNSUPPORTED", "TWCC_CAPBADOPERATION", "TWCC_CAPSEQERROR", "TWCC_DENIED",
            "TWCC_FILEEXISTS", "TWCC_FILENOTFOUND", "TWCC_NOTEMPTY", "TWCC_PAPERJAM",
            "TWCC_PAPERDOUBLEFEED", "TWCC_FILEWRITEERROR", "TWCC_CHECKDEVICEONLINE",
            "TWCC_INTERLOCK", "TWCC_DAMAGEDCORNER", "TWCC_FOCUSERROR", "TWCC_DOCTOOLIGHT",
            "TWCC_DOCTOODARK", "TWCC_NOMEDIA"};

    private TwainCodes() {}

    /**
     * The standard's name of a result code, such as {@code TWRC_FAILURE}, or null for a code it
     * does not name (a source's own codes from 0x8000 on, for instance).
     *
     * @param resultCode the code, as {@link TwainEx#getResultCode} gives it (its 16 bits count)
     * @return the name, or null
     */
    public static String resultName(int resultCode) {
        return name(resultCode & 0xFFFF, RESULTS);
    }

    /**
     * The standard's name of a condition code, such as {@code TWCC_NODS}, or null for a code it
     * does not name.
     *
     * @param conditionCode the code, as {@link TwainEx#getConditionCode} gives it (its 16 bits
     *     count)
     * @return the name, or null
     */
    public static String conditionName(int conditionCode) {
        return name(conditionCode & 0xFFFF, CONDITIONS);
    }

    /**
     * Whether a result code tells success: TWRC_SUCCESS, TWRC_CHECKSTATUS or TWRC_XFERDONE.
     *
     * @param resultCode the code (its 16 bits count)
     * @return true for the three codes of success
     */
    public static boolean isSuccess(int resultCode) {
        int code = resultCode & 0xFFFF;
        return code == 0 || code == 2 || code == 6;
    }

    /** "TWAIN result code 1 (TWRC_FAILURE), condition code 3 (TWCC_NODS)". */
    static String describe(int resultCode, int conditionCode) {
        return "TWAIN result code " + numberAndName(resultCode & 0xFFFF, RESULTS)
                + ", condition code " + numberAndName(conditionCode & 0xFFFF, CONDITIONS);
    }

    private static String name(int code, String[] names) {
        return code < names.length ? names[code] : null;
    }

    private static String numberAndName(int code, String[] names) {
        String name = name(code, names);
        return name != null ? code + " (" + name + ")" : String.valueOf(code);
    }
}
