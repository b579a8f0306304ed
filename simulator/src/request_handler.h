// Turns one request packet into one answer packet, as the instrument does:
// the commands, the settings of kvproto/instrument_map.h and the chunk
// parameters of the point lists and the pulse packet.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "instrument_state.h"

namespace z5rsim {

class CRequestHandler {
public:
    explicit CRequestHandler(CInstrumentState& state) : state_(state) {}

    // `packet` is the header and the BodyLen body bytes. The answer echoes
    // the request's command, Dummy and ID. `log`, when given, receives a
    // readable line describing the exchange.
    std::vector<std::uint8_t> Handle(std::span<const std::uint8_t> packet, std::string* log = nullptr);

private:
    struct SAnswer;
    void HandleParameter(std::uint16_t command, std::uint16_t param, const std::vector<double>& values,
                         SAnswer& answer);
    void HandleChunk(std::uint16_t command, EChunk chunk, const std::vector<double>& values,
                     SAnswer& answer);

    CInstrumentState& state_;
};

}  // namespace z5rsim
