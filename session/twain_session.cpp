#include "session/twain_session.h"

TwainSession twainSession;
