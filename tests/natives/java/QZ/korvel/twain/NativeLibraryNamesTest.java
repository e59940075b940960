package QZ.korvel.twain;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;

import org.junit.jupiter.api.Test;

/** Which library a VM asks for, and where in the jar it lies, for the names VMs give. */
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
    void theCachedFileCarriesTheHashBeforeItsExtension() {
        assertEquals("scanlink64-ab12.dll", NativeLibrary.cachedName("scanlink64.dll", "ab12"));
        assertEquals("libscanlink32-ab12.so", NativeLibrary.cachedName("libscanlink32.so", "ab12"));
        assertEquals("scanlink32-ab12", NativeLibrary.cachedName("scanlink32", "ab12"));
        assertEquals("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855",
                NativeLibrary.sha256(new byte[0]));
    }
}
