package scanlink.scansession;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static scanlink.testsupport.Pages.rgb;
import static scanlink.testsupport.Twain.DAT_IDENTITY;
import static scanlink.testsupport.Twain.DG_CONTROL;
import static scanlink.testsupport.Twain.MSG_OPENDS;

import QZ.korvel.twain.FailureKind;
import QZ.korvel.twain.Page;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.SourceIdentity;
import QZ.korvel.twain.TwainEx;
import QZ.korvel.twain.TwainException;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.util.List;
import java.util.stream.Collectors;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import scanlink.virtualscanner.VirtualScanner;
import scanlink.virtualscanner.VirtualScanner.Triplet;

/** Choosing a source by name, without a dialog, and scanning both sides with the duplex one. */
@ExtendWith(CleanSession.class)
class SourcesTest {
    static ScanSession open() throws TwainException {
        return ScanSession.open("scanlink32", "Tests", "Sources");
    }

    static List<String> names(List<SourceIdentity> sources) {
        return sources.stream().map(SourceIdentity::productName).collect(Collectors.toList());
    }

    /** The Id of the identity each MSG_OPENDS carried to the manager. */
    static List<Long> openedIds() {
        return VirtualScanner.logWithoutStatus().stream()
                .filter(t -> t.is(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS))
                .map(SourcesTest::identityId).collect(Collectors.toList());
    }

    static long identityId(Triplet t) {
        return ByteBuffer.wrap(t.data()).order(ByteOrder.LITTLE_ENDIAN).getInt() & 0xFFFFFFFFL;
    }

    @Test
    void theSourcesAreListedWithTheirIdentitiesAndTheDefaultIsTold() throws Exception {
        try (ScanSession session = open()) {
            List<SourceIdentity> sources = session.sources();
            assertEquals(List.of("Virtual Scanner", "Virtual Duplex Feeder"), names(sources));
            SourceIdentity feeder = sources.get(1);
            assertEquals("scanlink32", feeder.manufacturer());
            assertEquals("Virtual Feeders", feeder.productFamily());
            assertEquals("Virtual Duplex Feeder 1.0", feeder.versionInfo());
            assertEquals("1.0", feeder.version());
            assertEquals(2, feeder.supportedGroups() & 2); // DG_IMAGE
            assertEquals("Virtual Scanner", session.defaultSource().productName());
            assertEquals(3, session.state());
        }
    }

    @Test
    void aSourceOpensByItsNameWithTheIdTheManagerListed() throws Exception {
        try (ScanSession session = open()) {
            SourceIdentity feeder = session.sources().get(1);
            VirtualScanner.reset();
            SourceIdentity opened = session.openSource("Virtual Duplex Feeder");
            assertEquals(feeder.id(), opened.id());
            assertEquals(4, session.state());
            assertEquals(List.of(feeder.id()), openedIds());
            assertTrue(session.supported(QZ.korvel.twain.Capability.CAP_DUPLEX).values()
                    .contains(1)); // TWDX_1PASSDUPLEX
        }
    }

    @Test
    void aNameThatMatchesNoSourceFailsNamingTheSourcesThatExist() throws Exception {
        try (ScanSession session = open()) {
            VirtualScanner.reset();
            TwainException e = assertThrows(TwainException.class,
                    () -> session.openSource("Virtual Scaner"));
            assertEquals("opening the source \"Virtual Scaner\"", e.step());
            // Found in the library, not told by TWAIN: no codes of an earlier request.
            assertEquals("opening the source \"Virtual Scaner\" failed: no source is named "
                    + "\"Virtual Scaner\"; the sources are \"Virtual Scanner\", \"Virtual Duplex "
                    + "Feeder\"", e.getMessage());
            assertEquals(FailureKind.NO_SUCH_SOURCE, e.kind());
            assertEquals(-1, e.resultCode());
            assertEquals(-1, e.conditionCode());
            assertNull(e.conditionName());
            assertEquals(List.of(), openedIds());
            assertEquals(3, session.state());
        }
    }

    @Test
    void ofTwoSourcesOfTheSameNameTheFirstListedIsOpened() throws Exception {
        VirtualScanner.setKnob("manager.sameNames", 1);
        try (ScanSession session = open()) {
            List<SourceIdentity> sources = session.sources();
            assertEquals(List.of("Virtual Scanner", "Virtual Scanner"), names(sources));
            VirtualScanner.reset();
            VirtualScanner.setKnob("manager.sameNames", 1);
            assertEquals(sources.get(0).id(), session.openSource("Virtual Scanner").id());
            assertEquals(List.of(sources.get(0).id()), openedIds());
            // The second by the identity listed: the Id tells the two apart.
            session.closeSource();
            session.openSource(sources.get(1));
            assertEquals(sources.get(1).id(), openedIds().get(1));
            assertEquals(List.of(1), session.supported(
                    QZ.korvel.twain.Capability.CAP_DUPLEX).values());
        }
    }

    @Test
    void aFailedListNamesItsStepAndCodes() throws Exception {
        try (ScanSession session = open()) {
            VirtualScanner.script(DG_CONTROL, DAT_IDENTITY, 0x0004, 1, 1, 1); // MSG_GETFIRST
            TwainException e = assertThrows(TwainException.class, session::sources);
            assertEquals("listing the sources failed (TWAIN result code 1 (TWRC_FAILURE), "
                    + "condition code 1 (TWCC_BUMMER), state 3)", e.getMessage());
        }
    }

    @Test
    void theDuplexFeederScansTheFrontThenTheBackOfEachSheet() throws Exception {
        VirtualScanner.setKnob("feeder.sheets", 2);
        try (ScanSession session = open()) {
            session.openSource("Virtual Duplex Feeder");
            session.setShowUserInterface(false);
            session.setDuplexEnabled(true);
            assertTrue(session.isDuplexEnabled());
            int[] front = VirtualScanner.expectedPage();
            ScanResult result = session.scanFeeder(10);
            assertEquals(ScanResult.Outcome.FEEDER_EMPTY, result.outcome(), "" + result.failure());
            List<Page> pages = result.pages();
            assertEquals(4, pages.size());
            int[] frontPixels = rgb(pages.get(0).image());
            int[] backPixels = rgb(pages.get(1).image());
            assertEquals(front[2] & 0xFFFFFF, frontPixels[0]);
            assertEquals(~frontPixels[0] & 0xFFFFFF, backPixels[0]); // the back is the negative
            assertEquals(frontPixels[0], rgb(pages.get(2).image())[0]);
            assertEquals(backPixels[0], rgb(pages.get(3).image())[0]);
        }
        assertEquals(1, TwainEx.getState());
    }

    @Test
    void withDuplexOffEachSheetIsOnePage() throws Exception {
        VirtualScanner.setKnob("feeder.sheets", 2);
        try (ScanSession session = open()) {
            session.openSource("Virtual Duplex Feeder");
            session.setShowUserInterface(false);
            assertEquals(false, session.isDuplexEnabled());
            assertEquals(2, session.scanFeeder(10).pages().size());
        }
    }
}
