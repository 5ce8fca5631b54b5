#include "low_mips.h"

#include <atomic>

namespace {
// Written by the wizard's thread while the capture thread encodes.
std::atomic<int> low_mips_flag{0};
}  // namespace

void set_low_mips(int flag) { low_mips_flag.store(flag, std::memory_order_relaxed); }

int low_mips_active() { return low_mips_flag.load(std::memory_order_relaxed); }
