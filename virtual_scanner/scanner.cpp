#include "scanner.h"

namespace vscan {

std::mutex& scannerMutex() {
    static std::mutex mutex;
    return mutex;
}

Scanner& scanner() {
    static Scanner instance;
    return instance;
}

}  // namespace vscan
