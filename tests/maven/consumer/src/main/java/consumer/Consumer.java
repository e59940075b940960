package consumer;

import QZ.korvel.twain.Page;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.SourceIdentity;
import QZ.korvel.twain.Version;

/** Lists the sources and scans a page from the default one, through the dependency. */
public class Consumer {
    public static void main(String[] args) throws Exception {
        System.out.println("binding " + Version.coordinates() + ", library " + Version.library());
        try (ScanSession session = ScanSession.open("Acme", "Consumers", "Consumer")) {
            for (SourceIdentity source : session.sources()) {
                System.out.println("source " + source.productName());
            }
            session.openSource();
            session.setShowUserInterface(false);
            ScanResult result = session.scan(1);
            for (Page page : result.pages()) {
                System.out.println("page " + page.image().getWidth() + " x "
                        + page.image().getHeight());
            }
        }
    }
}
