package QZ.korvel.twain;

/**
 * Ends the session thread's wait for a page from another thread without sending anything from
 * that thread: the wait under way ends at once, or else the next one ends before it takes a
 * message. A new enable of the source forgets a cancel that no wait took. Its native method is
 * registered by the library's load hook; like every class with registered natives it has no static
 * initialiser (see {@link TraceNatives}).
 */
final class PageWait {
    private PageWait() {}

    static native void cancel();
}
