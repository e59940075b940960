package scanlink.scan.check;

/** How a check of the driver came out; the worst finding decides. */
enum Verdict {
    PASS,
    WARN,
    FAIL;

    Verdict worse(Verdict other) {
        return other.ordinal() > ordinal() ? other : this;
    }
}
