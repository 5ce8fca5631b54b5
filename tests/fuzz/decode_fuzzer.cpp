// libFuzzer entry: the input is a stream of 81-byte payloads decoded by one talker.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "codec_state.h"
#include "decoded_output_check.h"
#include "melp_syn.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (synth_startup(), true);
    (void)started;
    CodecState* state = codec_state_create();
    if (state == nullptr) return 0;
    VoicePacket packet{};
    float out[kSuperframeSamples];
    for (size_t offset = 0; offset + kPayloadBytes <= size; offset += kPayloadBytes) {
        std::memcpy(packet.payload, data + offset, kPayloadBytes);
        decode_superframe(&packet, state, out);
        if (first_bad_sample(out) >= 0) std::abort();
    }
    codec_state_destroy(state);
    return 0;
}
