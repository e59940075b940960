package QZ.korvel.twain;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.regex.Pattern;
import org.junit.jupiter.api.Test;

/**
 * Which library a VM asks for, where in the jar it lies, for the names VMs give, and the names of
 * its copies.
 */
class NativeLibraryNamesTest {
    @Test
    void aSixtyFourBitWindowsVmTakesTheSixtyFourBitLibrary() {
        assertEquals("scanlink64", NativeLibrary.libraryName("Windows 10", "amd64"));
        assertEquals("scanlink64", NativeLibrary.libraryName("Windows Server 2019", "x86_64"));
        assertEquals("scanlink32", NativeLibrary.libraryName("Windows 10", "x86"));
        assertEquals("scanlink32", NativeLibrary.libraryName("Windows 7", "i686"));
        assertEquals("scanlink32", NativeLibrary.libraryName("Linux", "amd64"));
        assertEquals("scanlink32", NativeLibrary.libraryName("Linux", "i386"));
    }

    @Test
    void eachPlatformHasItsFolderInTheJar() {
        assertEquals("windows-x86", NativeLibrary.platform("Windows 10", "x86"));
        assertEquals("windows-x86", NativeLibrary.platform("Windows XP", "i386"));
        assertEquals("windows-x86_64", NativeLibrary.platform("Windows 11", "amd64"));
        assertEquals("linux-x86_64", NativeLibrary.platform("Linux", "amd64"));
        assertEquals("linux-x86_64", NativeLibrary.platform("Linux", "x86_64"));
        assertEquals("linux-x86", NativeLibrary.platform("Linux", "i686"));
        UnsatisfiedLinkError arm = assertThrows(UnsatisfiedLinkError.class,
                () -> NativeLibrary.platform("Linux", "aarch64"));
        assertEquals("scanlink32 has no native library for Linux on aarch64 (it has them for "
                + "Windows and Linux, on x86 and x86_64)", arm.getMessage());
        assertThrows(UnsatisfiedLinkError.class, () -> NativeLibrary.platform("Mac OS X", "x86_64"));
    }

    @Test
    void aCopyCarriesARandomPartBeforeItsExtensionAndOnlyCopiesAreSwept() {
        String random = "0123456789abcdef0123456789abcdef";
        assertEquals("scanlink64-" + random + ".dll",
                LibraryCopy.copyName("scanlink64.dll", random));
        assertEquals("libscanlink32-" + random + ".so",
                LibraryCopy.copyName("libscanlink32.so", random));
        Pattern copies = LibraryCopy.copyPattern("scanlink64.dll");
        assertTrue(copies.matcher("scanlink64-" + random + ".dll").matches());
        assertTrue(copies.matcher("scanlink64-" + random + random + ".dll").matches());
        assertFalse(copies.matcher("scanlink64.dll").matches());
        assertFalse(copies.matcher("scanlink64-" + random + "0.dll").matches());
        assertFalse(copies.matcher("scanlink64-" + random.toUpperCase() + ".dll").matches());
        assertFalse(copies.matcher("scanlink32-" + random + ".dll").matches());
        assertFalse(copies.matcher("scanlink64-" + random + ".dll.txt").matches());
    }
}
