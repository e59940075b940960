package scanlink.bridge;

import QZ.korvel.twain.ScanSession;

/**
 * A program with an isolated session open that waits to be ended: it says when its session is
 * open, on its standard output.
 */
public final class ParentThatDies {
    private ParentThatDies() {}

    public static void main(String[] arguments) throws Exception {
        ScanSession session = Bridges.isolated();
        session.openSource();
        System.out.println("open");
        System.out.flush();
        Thread.sleep(Long.MAX_VALUE);
    }
}
