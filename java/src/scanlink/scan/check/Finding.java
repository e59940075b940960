package scanlink.scan.check;

import java.util.List;

/**
 * One thing a check found, with the lines of the trace (the triplets) of the step that showed it.
 */
record Finding(Verdict verdict, String text, List<String> triplets) {}
