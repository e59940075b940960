#ifndef RAMTALLY_PHYSICAL_MEMORY_H
#define RAMTALLY_PHYSICAL_MEMORY_H

// The machine's total physical memory in whole MiB; 0 if the system will not tell.
unsigned long long totalPhysicalMebibytes();

#endif
