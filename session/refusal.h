// Why the session last refused a call, in words. A refusal answers with the codes of a real
// sequence error (TWRC_FAILURE, TWCC_SEQERROR), and a refused getter with a plausible value, so the
// codes alone cannot tell the two apart; the text can, from any thread.
//
// The text is the session's, as its codes are: a refusal on any thread sets it, and any later call
// of the session that is carried out clears it as it starts (run on its own thread, handed to the
// owner, run from a window procedure, or answered at once because it had nothing to do). Reading
// the state, the codes or this text is no call of the session and changes nothing.
#ifndef SCANLINK_SESSION_REFUSAL_H
#define SCANLINK_SESSION_REFUSAL_H

#include <string>

// "name: why"; a text that cannot be kept (no memory) leaves none.
void recordRefusal(const char* name, const std::string& why) noexcept;
void clearRefusal() noexcept;
// The text of the last refusal; empty when the last call was carried out.
std::string lastRefusal();

#endif
