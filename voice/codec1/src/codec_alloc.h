// The codec's reaction to memory exhaustion: one line on stderr, then the process ends.
#pragma once

#include <cstddef>

constexpr const char* kMemAlloc = "MEM_ALLOC";
constexpr const char* kMem2Alloc = "MEM_2ALLOC";

// Prints "<module>: <what> (instance 0, line <site>)" and exits with status 1.
[[noreturn]] void codec_alloc_failure(const char* module, const char* what, int site);

// Allocates count zeroed floats or ends the process through codec_alloc_failure.
float* codec_alloc_floats(std::size_t count, const char* module, int site);
int* codec_alloc_ints(std::size_t count, const char* module, int site);
