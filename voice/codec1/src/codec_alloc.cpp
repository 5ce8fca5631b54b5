#include "codec_alloc.h"

#include <cstdio>
#include <cstdlib>

void codec_alloc_failure(const char* module, const char* what, int site) {
    std::fprintf(stderr, "%s: %s (instance %d, line %d)\n", module, what, 0, site);
    std::exit(1);
}

float* codec_alloc_floats(std::size_t count, const char* module, int site) {
    void* memory = std::calloc(count == 0 ? 1 : count, sizeof(float));
    if (memory == nullptr) codec_alloc_failure(module, kMemAlloc, site);
    return static_cast<float*>(memory);
}

int* codec_alloc_ints(std::size_t count, const char* module, int site) {
    void* memory = std::calloc(count == 0 ? 1 : count, sizeof(int));
    if (memory == nullptr) codec_alloc_failure(module, kMemAlloc, site);
    return static_cast<int*>(memory);
}
