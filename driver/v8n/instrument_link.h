// The VISA session to the instrument: whole packets out, whole packets in,
// everything through the library's viWrite/viRead (and so its traffic hook).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kvvisa/visa.h"

namespace korvel::v8n {

class CInstrumentLink {
public:
    CInstrumentLink() = default;
    ~CInstrumentLink();
    CInstrumentLink(const CInstrumentLink&) = delete;
    CInstrumentLink& operator=(const CInstrumentLink&) = delete;

    // Opens `resource` and sets the transfer time-out; the failing status
    // otherwise, with nothing left open.
    ViStatus Open(const std::string& resource, std::uint32_t timeoutMs);
    void Close();
    bool IsOpen() const { return session_ != VI_NULL; }

    // Sends `request` and receives one whole answer packet. After a failure
    // the stream's position is unknown (a late or half-read answer may
    // follow), so the next exchange starts on a fresh connection.
    ViStatus Exchange(const std::vector<std::uint8_t>& request, std::vector<std::uint8_t>& answer);
    // The same for an answer that did not fit its request.
    void RequireFreshConnection() { fresh_ = true; }

private:
    ViSession session_ = VI_NULL;
    bool fresh_ = false;
};

}  // namespace korvel::v8n
