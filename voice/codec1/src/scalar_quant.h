// Scalar quantizers of the frame: uniform levels, pitch, jitter, the two gains and the band
// voicing code. The gain quantizers keep process-wide memories of the previous frame's gain.
#pragma once

constexpr float kLogPitchMin = 1.30103f;  // log10(20)
constexpr float kLogPitchMax = 2.20412f;  // log10(160)
constexpr int kPitchLevels = 99;
constexpr float kGainMinDb = 10.0f;
constexpr float kGainMaxDb = 77.0f;
constexpr int kGainLevels = 32;
constexpr int kFirstGainLevels = 7;
constexpr float kJitterMax = 0.25f;
constexpr int kJitterLevels = 2;
constexpr float kVoicingThreshold = 0.6f;
constexpr float kUnvoicedPitch = 50.0f;

// Index = number of thresholds lo + step/2, lo + 3 step/2, ... not above *value; *value
// becomes the level of that index.
void quant_uniform(float* value, int* index, float lo, float hi, int levels);
// *value = lo + index (hi - lo) / (levels - 1).
void dequant_uniform(int index, float* value, float lo, float hi, int levels);

// Uniform in log10(pitch) over 20..160 samples; *pitch becomes the quantized period.
void pitch_quantize(float* pitch, int* index);
float pitch_dequantize(int index);
void jitter_quantize(float* jitter, int* index);
float jitter_dequantize(int index);

// gain[1] uniformly, gain[0] as code 0 (mean of the previous and current second gain) or
// codes 1..7 over a range around them. Updates the encoder's previous-gain memory.
void gain_quantize(float* gain, int* codes, float lo, float hi, int levels);
// Inverse of gain_quantize with the decoders' shared previous-gain memory; a second gain that
// jumps more than 5 dB under code 0 is replaced by the previous one, never twice in a row.
// Decrements codes[0] in place when it is not 0.
void gain_decode(float* gain, int* codes, float lo, float hi, int levels);

// Band 0 decides voiced or not; bands 1..4 form the 4-bit code (band 1 most significant),
// the code 0001 is not used. voicing becomes 0/1 values. Returns 1 for an unvoiced frame.
int voicing_quantize(float* voicing, int* code, float threshold, int bands);
// voicing[0..bands-1] from the code; an unvoiced frame clears the code, code 0001 reads as 0.
void voicing_decode(float* voicing, int* code, int unvoiced, int bands);

// The encoder's and the decoders' memories, process-wide and never reset.
float encoder_prev_gain();
float decoder_prev_gain();
int decoder_gain_repeat();
