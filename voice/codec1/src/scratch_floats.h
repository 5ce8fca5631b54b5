// Scratch arrays for the per-frame routines: on the stack up to a fixed count, from the heap
// (with the codec's allocation failure reaction) only beyond it.
#pragma once

#include <cstdlib>

#include "codec_alloc.h"

template <typename T, int kLocalCount>
class ScratchBuffer {
  public:
    ScratchBuffer(int count, const char* module, const char* what, int site) {
        if (count > kLocalCount) {
            heap_ = static_cast<T*>(std::calloc(static_cast<std::size_t>(count), sizeof(T)));
            if (heap_ == nullptr) codec_alloc_failure(module, what, site);
        }
    }
    ~ScratchBuffer() { std::free(heap_); }
    ScratchBuffer(const ScratchBuffer&) = delete;
    ScratchBuffer& operator=(const ScratchBuffer&) = delete;

    T* data() { return heap_ != nullptr ? heap_ : local_; }

  private:
    T local_[kLocalCount] = {};
    T* heap_ = nullptr;
};

template <int kLocalCount>
using ScratchFloats = ScratchBuffer<float, kLocalCount>;
