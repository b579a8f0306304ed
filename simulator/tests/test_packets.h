// Request packets built and answers taken apart for the simulator's tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kvproto/instrument_map.h"
#include "kvproto/packet.h"

namespace z5rtest {

// A set or get of `param` with `values` in the parameter's own format
// (or `flagB` when given), Dummy and ID as given.
std::vector<std::uint8_t> Request(std::uint16_t command, std::uint16_t param, const std::vector<double>& values,
                                  int flagB = -1, std::uint32_t id = 0);
// A set or get of one field: its index first, then `values` in wire units.
std::vector<std::uint8_t> SetField(kvproto::EInstrumentField field, const std::vector<double>& values);
std::vector<std::uint8_t> GetField(kvproto::EInstrumentField field);
// A command without a body (KV_TEST, KV_RESET, KV_RUN ...).
std::vector<std::uint8_t> Command(std::uint16_t command, std::uint32_t id = 0);

struct SAnswer {
    kvproto::PacketHeader header;
    bool wellFormed = false;  // signed, BodyLen matches the bytes and FlagA × FlagB
    std::uint16_t param = 0;
    std::vector<double> values;  // including the leading field index or offset
};
SAnswer ParseAnswer(const std::vector<std::uint8_t>& packet);

// The text an answer's byte values spell (after the field index).
std::string AnswerText(const SAnswer& answer);

}  // namespace z5rtest
