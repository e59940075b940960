// Loads like a manager but exports no DSM_Entry.
extern "C" int notTheEntryPoint() { return 0; }
