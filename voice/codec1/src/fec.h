// Hamming protection of unvoiced frames: the bits such a frame does not need carry parity of
// the LSF stage-1 and gain indexes.
#pragma once

#include "melp_types.h"

// Turns pitch_index into the 7-bit pitch and voicing code; for an unvoiced frame also fills
// voicing_index, harm_code and jitter_index with parity.
void fec_encode(FrameParams* params);
// Inverse of fec_encode on a received frame: sets unvoiced, restores pitch_index 0..98 or
// corrects single errors of the protected words. Returns 1 when the frame is erased.
int fec_decode(FrameParams* params);
