// The 85-byte packet that carries one superframe between users; byte-aligned, no padding.
#pragma once

#include <cstdint>

#include "melp_types.h"

// The public header declares the same layout for hosts; whichever comes first defines it.
#ifndef PARLO_VOICE_PACKET_DEFINED
#define PARLO_VOICE_PACKET_DEFINED
struct VoicePacket {
    uint8_t kind;    // always 0 when sent
    uint8_t last;    // 1 = end of a transmission, no audio
    uint8_t stream;  // transmission number, wraps 255 -> 0
    uint8_t seq;     // packet number within the transmission
    uint8_t payload[kPayloadBytes];
};
#endif

static_assert(sizeof(VoicePacket) == 85, "the packet is exchanged byte for byte with peers");
