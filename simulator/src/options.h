// z5r-sim's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "instrument_state.h"

namespace z5rsim {

struct SOptions {
    std::uint16_t port = 8888;           // instrument, TCP
    std::uint16_t discoveryPort = 8889;  // UDP
    std::uint16_t controlPort = 8890;    // TCP on 127.0.0.1
    std::string address = "0.0.0.0";     // the instrument and discovery sockets bind it
    bool secure = false;
    bool pulseModulation = true;
    std::string serial = "Z5R-000123";
    std::string name = "Z5R";
    bool verbose = false;
    bool receiver = false;  // the measuring receiver instead of the synthesizer
};

struct SParsedOptions {
    std::optional<SOptions> options;  // nothing on --help or an error
    bool help = false;
    std::string error;
};

// `args` without the program name. Options take their value as the next
// argument or after "=" (--port=0).
SParsedOptions ParseOptions(std::span<const std::string_view> args);
std::string UsageText();
// Secure mode marks the serial number with a trailing "*".
SIdentity IdentityOf(const SOptions& options);

}  // namespace z5rsim
