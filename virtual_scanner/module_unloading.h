// Whether the module that holds this code is being unloaded: set from DllMain's
// DLL_PROCESS_DETACH under FreeLibrary, where the loader lock is held and no thread can end (a
// thread that ends runs every module's DllMain, which waits for that lock).
#ifndef VIRTUAL_SCANNER_MODULE_UNLOADING_H
#define VIRTUAL_SCANNER_MODULE_UNLOADING_H

namespace vscan {

bool moduleUnloading();
void markModuleUnloading();

}  // namespace vscan

#endif
