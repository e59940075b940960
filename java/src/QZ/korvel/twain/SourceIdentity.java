package QZ.korvel.twain;

import java.util.Locale;
import java.util.Objects;

/**
 * A source as the source manager lists it: its names, version and protocol, and the Id by which
 * the manager knows it in this session.
 */
public final class SourceIdentity {
    private final long id;
    private final int versionMajor;
    private final int versionMinor;
    private final int language;
    private final int country;
    private final String versionInfo;
    private final int protocolMajor;
    private final int protocolMinor;
    private final long supportedGroups;
    private final String manufacturer;
    private final String productFamily;
    private final String productName;
    private final int bits;

    private SourceIdentity(NativeRecord.Reader record, int bits) {
        this.bits = bits;
        id = record.u32();
        versionMajor = record.u16();
        versionMinor = record.u16();
        language = record.u16();
        country = record.u16();
        versionInfo = record.text();
        protocolMajor = record.u16();
        protocolMinor = record.u16();
        supportedGroups = record.u32();
        manufacturer = record.text();
        productFamily = record.text();
        productName = record.text();
    }

    static SourceIdentity read(NativeRecord.Reader record, int bits) {
        return new SourceIdentity(record, bits);
    }

    /**
     * The width of the source's driver, 32 or 64 bits: a 64-bit VM on Windows lists the sources
     * of both managers, and runs a 32-bit source in the 32-bit bridge process.
     *
     * @return 32 or 64
     */
    public int bits() {
        return bits;
    }

    /** The record by which the library opens this source: Id, manufacturer, family and name. */
    byte[] openingRecord() {
        return new NativeRecord.Writer().u32(id).text(manufacturer).text(productFamily)
                .text(productName).toBytes();
    }

    /**
     * The Id the manager gave the source in this session. Some managers (Wine's) give Ids only
     * when a source is opened, and list 0; the product name then finds the source.
     *
     * @return the Id, or 0
     */
    public long id() {
        return id;
    }

    /**
     * The product name, by which {@link ScanSession#openSource(String)} finds the source.
     *
     * @return the name
     */
    public String productName() {
        return productName;
    }

    /**
     * The maker.
     *
     * @return the manufacturer's name
     */
    public String manufacturer() {
        return manufacturer;
    }

    /**
     * The product family.
     *
     * @return the family's name
     */
    public String productFamily() {
        return productFamily;
    }

    /**
     * The source's version, such as "2.1".
     *
     * @return major and minor number
     */
    public String version() {
        return versionMajor + "." + versionMinor;
    }

    /**
     * The source's own text about its version.
     *
     * @return the text
     */
    public String versionInfo() {
        return versionInfo;
    }

    /**
     * The version of the TWAIN protocol the source speaks, such as "1.9".
     *
     * @return major and minor number
     */
    public String protocolVersion() {
        return protocolMajor + "." + protocolMinor;
    }

    /**
     * The TWAIN language code of the version.
     *
     * @return the TWLG_ value
     */
    public int language() {
        return language;
    }

    /**
     * The TWAIN country code of the version.
     *
     * @return the TWCY_ value
     */
    public int country() {
        return country;
    }

    /**
     * The data groups (DG_ bits, such as DG_IMAGE 0x2) and flags (DF_ bits) the source declares.
     *
     * @return the bits
     */
    public long supportedGroups() {
        return supportedGroups;
    }

    /**
     * Whether the other is the same source as the manager listed it: every field alike, the Id
     * included, so that two sources of one name (which some managers list) stay apart.
     */
    @Override
    public boolean equals(Object other) {
        if (this == other) {
            return true;
        }
        if (!(other instanceof SourceIdentity)) {
            return false;
        }
        SourceIdentity that = (SourceIdentity) other;
        return id == that.id && versionMajor == that.versionMajor
                && versionMinor == that.versionMinor && language == that.language
                && country == that.country && versionInfo.equals(that.versionInfo)
                && protocolMajor == that.protocolMajor && protocolMinor == that.protocolMinor
                && supportedGroups == that.supportedGroups
                && manufacturer.equals(that.manufacturer)
                && productFamily.equals(that.productFamily)
                && productName.equals(that.productName) && bits == that.bits;
    }

    @Override
    public int hashCode() {
        return Objects.hash(id, versionMajor, versionMinor, language, country, versionInfo,
                protocolMajor, protocolMinor, supportedGroups, manufacturer, productFamily,
                productName, bits);
    }

    /**
     * One line, product name first: "Virtual Scanner" by scanlink32, family "Virtual Devices",
     * version 1.0, protocol 1.9, groups 0x3.
     */
    @Override
    public String toString() {
        return String.format(Locale.ROOT,
                "\"%s\" by %s, family \"%s\", version %s (%s), protocol %s, groups 0x%X",
                productName, manufacturer, productFamily, version(), versionInfo,
                protocolVersion(), supportedGroups)
                + (bits != NativePort.INSTANCE.bits() ? ", a " + bits + "-bit driver" : "");
    }
}
