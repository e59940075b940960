#include "module_unloading.h"

#include <atomic>

namespace vscan {
namespace {

std::atomic<bool> unloading = false;

}  // namespace

bool moduleUnloading() { return unloading; }

void markModuleUnloading() { unloading = true; }

}  // namespace vscan
