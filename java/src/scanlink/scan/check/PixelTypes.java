package scanlink.scan.check;

import QZ.korvel.twain.Capability;
import QZ.korvel.twain.PixelType;
import java.util.ArrayList;
import java.util.List;

/** The pixel types the source allows that the binding names, as ICAP_PIXELTYPE lists them. */
final class PixelTypes {
    private PixelTypes() {}

    static List<PixelType> allowed(Checks checks, CheckResult check) throws Exception {
        List<Object> codes = checks.steps().require("reading the pixel types allowed",
                () -> checks.session().supported(Capability.ICAP_PIXELTYPE).values(), check);
        List<PixelType> types = new ArrayList<>();
        for (Object code : codes) {
            PixelType type = code instanceof Number ? PixelType.fromCode(((Number) code).intValue())
                                                    : null;
            if (type != null && !types.contains(type)) {
                types.add(type);
            }
        }
        return types;
    }
}
