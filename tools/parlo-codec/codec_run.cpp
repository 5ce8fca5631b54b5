#include "codec_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "codec_state.h"
#include "low_mips.h"
#include "melp_ana.h"
#include "melp_syn.h"

namespace {

CodecStatePtr new_state() {
    CodecStatePtr state(codec_state_create());
    if (!state) {
        std::fprintf(stderr, "parlo-codec: out of memory\n");
        std::exit(1);
    }
    return state;
}

// The codec works on the 16-bit scale.
constexpr float kPcmScale = 32768.0f;

int16_t to_pcm16(float v) {
    return static_cast<int16_t>(std::clamp(std::lround(v * kPcmScale), -32768L, 32767L));
}

}  // namespace

CodecSession::CodecSession(bool low_mips) {
    set_low_mips(low_mips ? 1 : 0);
    synth_startup();
    encoder_startup();
}

CodecSession::~CodecSession() {
    synth_shutdown();
    encoder_shutdown();
}

std::size_t superframes_for(std::size_t samples) {
    return (samples + kSuperframeSamples - 1) / kSuperframeSamples;
}

std::vector<uint8_t> encode_speech(const std::vector<float>& samples) {
    const std::size_t count = superframes_for(samples.size());
    std::vector<int16_t> pcm(count * kSuperframeSamples, 0);
    std::transform(samples.begin(), samples.end(), pcm.begin(), to_pcm16);
    CodecStatePtr state = new_state();
    std::vector<uint8_t> payloads(count * kPayloadBytes);
    VoicePacket packet{};
    for (std::size_t i = 0; i < count; i++) {
        encode_superframe(&packet, state.get(), pcm.data() + i * kSuperframeSamples);
        std::memcpy(payloads.data() + i * kPayloadBytes, packet.payload, kPayloadBytes);
    }
    return payloads;
}

std::vector<float> decode_speech(const std::vector<uint8_t>& payloads) {
    const std::size_t count = payloads.size() / kPayloadBytes;
    std::vector<float> samples(count * kSuperframeSamples);
    CodecStatePtr state = new_state();
    VoicePacket packet{};
    for (std::size_t i = 0; i < count; i++) {
        std::memcpy(packet.payload, payloads.data() + i * kPayloadBytes, kPayloadBytes);
        decode_superframe(&packet, state.get(), samples.data() + i * kSuperframeSamples);
    }
    for (float& v : samples) v /= kPcmScale;
    return samples;
}
