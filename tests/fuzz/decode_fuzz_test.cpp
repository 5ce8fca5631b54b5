// Whatever arrives from the network decodes to 2160 finite samples of bounded magnitude:
// random payloads, real encoded speech with flipped bits, and constant payloads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "codec_environment.h"
#include "codec_state.h"
#include "decoded_output_check.h"
#include "low_mips.h"
#include "melp_ana.h"
#include "melp_syn.h"
#include "synthetic_speech.h"

namespace {

constexpr uint32_t kSeed = 0x5eed2160u;
constexpr int kRandomPayloads = 700;
constexpr int kFlippedPayloads = 700;
constexpr int kMaxFlips = 12;
constexpr int kResetEvery = 37;  // a new transmission now and then

using Payload = std::vector<uint8_t>;

// Voiced stretches of two talkers, noise and silence, encoded as a transmission would be.
std::vector<Payload> encoded_speech() {
    std::vector<float> speech;
    append(&speech, vowel(kLowVoice, 4 * kSuperframeSamples, 3000.0));
    append(&speech, white_noise(2 * kSuperframeSamples, 1000.0, 11));
    append(&speech, std::vector<float>(kSuperframeSamples, 0.0f));
    append(&speech, vowel(kHighVoice, 4 * kSuperframeSamples, 8000.0));
    const std::vector<int16_t> pcm = to_pcm16(speech);
    CodecStatePtr encoder(codec_state_create());
    std::vector<Payload> payloads;
    VoicePacket packet{};
    for (std::size_t at = 0; at + kSuperframeSamples <= pcm.size(); at += kSuperframeSamples) {
        encode_superframe(&packet, encoder.get(), pcm.data() + at);
        payloads.emplace_back(packet.payload, packet.payload + kPayloadBytes);
    }
    return payloads;
}

std::vector<Payload> fuzz_corpus() {
    std::mt19937 rng(kSeed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<Payload> corpus;
    for (uint8_t fill : {0x00, 0xff, 0x55, 0xaa}) corpus.emplace_back(kPayloadBytes, fill);
    for (int i = 0; i < kRandomPayloads; i++) {
        Payload p(kPayloadBytes);
        for (uint8_t& b : p) b = static_cast<uint8_t>(byte(rng));
        corpus.push_back(p);
    }
    const std::vector<Payload> speech = encoded_speech();
    std::uniform_int_distribution<std::size_t> pick(0, speech.size() - 1);
    std::uniform_int_distribution<int> flips(1, kMaxFlips);
    std::uniform_int_distribution<int> bit(0, kSuperframeBits - 1);
    for (int i = 0; i < kFlippedPayloads; i++) {
        Payload p = speech[pick(rng)];
        for (int f = flips(rng); f > 0; f--) {
            const int n = bit(rng);
            p[static_cast<std::size_t>(n / 8)] ^= static_cast<uint8_t>(1u << (n % 8));
        }
        corpus.push_back(p);
    }
    return corpus;
}

TEST(DecodeFuzzTest, EveryPayloadDecodesToFiniteBoundedSamples) {
    const std::vector<Payload> corpus = fuzz_corpus();
    CodecStatePtr state(codec_state_create());
    ASSERT_NE(state, nullptr);
    VoicePacket packet{};
    std::vector<float> out(kSuperframeSamples);
    for (std::size_t i = 0; i < corpus.size(); i++) {
        if (i % kResetEvery == 0) codec_state_reset(state.get());
        set_low_mips(static_cast<int>(i % 5 == 4));
        std::memcpy(packet.payload, corpus[i].data(), kPayloadBytes);
        std::fill(out.begin(), out.end(), std::nanf(""));
        decode_superframe(&packet, state.get(), out.data());
        const int bad = first_bad_sample(out.data());
        ASSERT_EQ(bad, -1) << "payload " << i << " sample " << bad << " = "
                           << out[static_cast<std::size_t>(bad < 0 ? 0 : bad)];
        ASSERT_GE(state->pending, 0);
        ASSERT_LT(state->pending, kFrameLength);
    }
    set_low_mips(0);
}

}  // namespace
