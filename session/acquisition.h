// Enabling the source and waiting for its image in the calling thread's message loop.
#ifndef SCANLINK_SESSION_ACQUISITION_H
#define SCANLINK_SESSION_ACQUISITION_H

#include <windows.h>

#include "session/session_lock.h"
#include "twain/twain.h"

bool prepareTransfer();
// Pumps the calling thread's messages until the source hands over an image, the source is no
// longer enabled, a step the session cannot go on without has failed, or WM_QUIT arrives. The lock
// is released while the thread waits and while messages are dispatched. The handle, owned by the
// caller from then on, or none.
TW_HANDLE waitForImage(SessionLock& lock);
// Offers one retrieved message to the source and acts on what the source answers. True when the
// source consumed the message.
bool processSourceEvent(MSG& msg, TW_HANDLE& image);
// Takes the ready image by native transfer and ends the transfers. The handle, or none.
TW_HANDLE transferNativeImage();

#endif
