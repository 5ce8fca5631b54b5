// Decoder entry: the process-wide decoder tables, one frame's synthesis and the decoding of a
// whole voice packet.
#pragma once

#include "codec_state.h"
#include "voice_packet.h"

// No decoded sample exceeds this magnitude (about 30 times 16-bit full scale, which speech
// never reaches), so that a host converting samples to integers is safe from any payload.
constexpr float kDecodedSampleLimit = 1.0e6f;

// Sets up the quantizer descriptions every decoder shares; before encoder_startup.
void synth_startup();
void synth_shutdown();

// Reads one 54-bit frame at (*chan_word, *chan_bit), writes exactly 180 samples to out and
// advances the position past the frame. Requires synth_startup.
void synth_frame(CodecState* state, float* out, ChannelWord** chan_word, int* chan_bit);

// 2160 samples of one packet, continuing the talker's signal; a `last` packet gives silence
// and leaves state untouched.
void decode_superframe(const VoicePacket* packet, CodecState* state, float* out);
