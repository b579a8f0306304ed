// Takes a request packet apart and checks it against its own header, so the
// handler only ever sees consistent requests (or the status saying why not).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "kvproto/packet.h"

namespace z5rsim {

struct SParsedRequest {
    std::int16_t status = 0;  // the first problem found, KV_NO_ERROR when none
    kvproto::PacketHeader header;
    bool hasParam = false;       // set and get bodies start with a parameter
    std::uint16_t param = 0;
    std::vector<double> values;  // set and get: as decoded, in wire units
};

// `packet` is the header and whatever body bytes arrived. Checks: the header
// is whole and signed, the body is as long as BodyLen says, and a set or get
// body holds exactly FlagA values of FlagB's size (BodyLen may be one byte
// longer, as text-built packets round it up to even).
SParsedRequest ParseRequest(std::span<const std::uint8_t> packet);

}  // namespace z5rsim
