// Ramtally: writes the machine's total physical memory, in whole MiB, to ramsize.dat in the
// directory named on the command line. The exit status is 0 in every case; callers learn of
// success by finding the file.
#include <cstdio>

#include "output_path.h"
#include "physical_memory.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::printf("Usage: Ramtally outdir\n");
        return 0;
    }
    const unsigned long long mebibytes = totalPhysicalMebibytes();

    // A path too long for the buffer is refused like a directory that cannot be written to.
    char path[kOutputPathSize];
    std::FILE* file = buildOutputPath(argv[1], path) ? std::fopen(path, "w") : nullptr;
    if (file == nullptr) {
        std::fprintf(stderr, "Cannot open %s\n", kOutputFileName);
        return 0;
    }
    std::fprintf(file, "%llu", mebibytes);
    std::fclose(file);
    return 0;
}
