/**
 * Scanned pages written as documents: PDF and multi-page TIFF files ({@link
 * QZ.korvel.twain.documents.PageDocument}) and PNG files of a page each, lossless and at each page's
 * own depth, so that gray pages keep their levels and black and white pages stay one bit.
 *
 * <p>PDF needs Apache PDFBox 2 on the class path, TIFF a Java runtime of version 9 or later; the
 * rest of the binding needs neither.
 */
package QZ.korvel.twain.documents;
