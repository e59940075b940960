// Enabling the source and waiting for its image in the owner's message loop.
#ifndef SCANLINK_SESSION_ACQUISITION_H
#define SCANLINK_SESSION_ACQUISITION_H

#include <windows.h>

#include "twain/twain.h"

bool prepareTransfer();
// Runs one wait for a page under the session's thread rules, as acquireImage does: the handle,
// owned by the caller from then on, or none.
TW_HANDLE acquireNextImage();
// Pumps the calling thread's messages until the source hands over an image, the source is no
// longer enabled, a step the session cannot go on without has failed, a teardown or a cancel ends
// the wait, or WM_QUIT arrives. Only the thread that enabled the source can wait. The handle, or
// none.
TW_HANDLE waitForImage();
// Waits as waitForImage does, but leaves the transfer that the source announces in state 6 instead
// of taking it. True in state 6.
bool waitForTransferReady();
// Offers one retrieved message to the source and acts on what the source answers. True when the
// source consumed the message.
bool processSourceEvent(MSG& msg, TW_HANDLE& image);
// Takes the ready image by native transfer and ends the transfers. The handle, or none.
TW_HANDLE transferNativeImage();

#endif
