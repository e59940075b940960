// An entry point that reads a 16-byte aligned local with an aligned SSE load, built into a binary
// that trusts its caller to align the stack to 16 bytes (-mincoming-stack-boundary=4: the hazard)
// and into one that aligns its own stack where it needs to, as mingw does by default. GCC 12 moves
// its own vectors on the stack unaligned, so the load is written out as such code has it.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI stackVector(int value) {
    alignas(16) int lanes[4] = {value, value, value, value};
    int first = 0;
    asm("movaps %1, %%xmm0\n\tmovd %%xmm0, %0" : "=r"(first) : "m"(lanes) : "xmm0");
    return first;
}
