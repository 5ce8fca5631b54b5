// One-time conversion of the trained codebooks, shared by the encoder and decoder start-ups.
#pragma once

// On the first call of the process: LSF codebook from Hz to normalized frequency and the
// harmonic codebook multiplied by the harmonic weights. Later calls do nothing.
void codebooks_convert_once();
