// The whole virtual device: manager, source, script and log, behind one lock. DSM_Entry, the
// source's own worker threads and the test controls all take the lock before touching it.
#ifndef VIRTUAL_SCANNER_SCANNER_H
#define VIRTUAL_SCANNER_SCANNER_H

#include <mutex>
#include <vector>

#include "manager.h"
#include "script.h"
#include "triplet_log.h"

namespace vscan {

struct Scanner {
    Script script;
    Manager manager{script};
    std::vector<LoggedTriplet> log;
};

std::mutex& scannerMutex();
// The one scanner of the process; the caller holds scannerMutex().
Scanner& scanner();

}  // namespace vscan

#endif
