// The process-wide switch between the full codec and its low-CPU variant.
#pragma once

// Non-zero selects the low-CPU analysis and synthesis from the next frame on.
void set_low_mips(int flag);
// Read once or twice per frame by analysis and synthesis.
int low_mips_active();
