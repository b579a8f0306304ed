#include "options.h"

#include <arpa/inet.h>

#include <charconv>
#include <vector>

#include "instrument_limits.h"

namespace z5rsim {
namespace {

std::optional<std::uint16_t> Port(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

// Identity texts travel as bytes and end up in discovery replies and the
// control channel's lines: printable, no tabs or line ends.
bool IsIdentityText(std::string_view text, std::size_t maxBytes) {
    if (text.empty() || text.size() > maxBytes) return false;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    }
    return true;
}

bool IsIpv4Address(const std::string& text) {
    in_addr address{};
    return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

}  // namespace

SParsedOptions ParseOptions(std::span<const std::string_view> args) {
    SParsedOptions parsed;
    SOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        std::optional<std::string_view> inlineValue;
        if (const std::size_t equals = name.find('='); name.starts_with("--") && equals != std::string_view::npos) {
            inlineValue = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        const auto flag = [&](bool& target) {
            if (inlineValue) return false;
            target = true;
            return true;
        };
        const auto value = [&]() -> std::optional<std::string_view> {
            if (inlineValue) return inlineValue;
            if (i + 1 < args.size()) return args[++i];
            return std::nullopt;
        };

        bool ok = true;
        if (name == "--help" || name == "-h") {
            parsed.help = true;
            return parsed;
        } else if (name == "-v" || name == "--verbose") {
            ok = flag(options.verbose);
        } else if (name == "--secure") {
            ok = flag(options.secure);
        } else if (name == "--receiver") {
            ok = flag(options.receiver);
        } else if (name == "--no-pulse") {
            bool noPulse = false;
            ok = flag(noPulse);
            options.pulseModulation = !noPulse;
        } else if (name == "--port" || name == "--discovery-port" || name == "--control-port") {
            const auto text = value();
            const auto port = text ? Port(*text) : std::nullopt;
            ok = port.has_value();
            if (ok) {
                (name == "--port" ? options.port : name == "--discovery-port" ? options.discoveryPort
                                                                               : options.controlPort) = *port;
            }
        } else if (name == "--address") {
            const auto text = value();
            ok = text && IsIpv4Address(std::string(*text));
            if (ok) options.address = std::string(*text);
        } else if (name == "--serial") {
            // One byte is kept free for the secure mode's "*".
            const auto text = value();
            ok = text && IsIdentityText(*text, kMaxTextBytes - 1);
            if (ok) options.serial = std::string(*text);
        } else if (name == "--name") {
            const auto text = value();
            ok = text && IsIdentityText(*text, kMaxTextBytes);
            if (ok) options.name = std::string(*text);
        } else {
            parsed.error = "unknown option " + std::string(args[i]);
            return parsed;
        }
        if (!ok) {
            parsed.error = "bad or missing value for " + std::string(name);
            return parsed;
        }
    }
    parsed.options = options;
    return parsed;
}

std::string UsageText() {
    return "usage: z5r-sim [options]\n"
           "A simulated Z5R microwave synthesizer on the network.\n"
           "  --port N            instrument TCP port (default 8888, 0 = any free port)\n"
           "  --discovery-port N  discovery UDP port (default 8889, 0 = any free port)\n"
           "  --control-port N    control channel TCP port on 127.0.0.1 (default 8890, 0 = any)\n"
           "  --address A         IPv4 address the instrument and discovery sockets bind (0.0.0.0)\n"
           "  --serial TEXT       serial number (default Z5R-000123, up to 253 bytes)\n"
           "  --name TEXT         instrument name (default Z5R, up to 254 bytes)\n"
           "  --secure            secure mode: the serial number ends in \"*\"\n"
           "  --no-pulse          a model without pulse modulation\n"
           "  --receiver          a measuring receiver instead (scene and faults on the control channel)\n"
           "  -v                  log every request and control command to standard error\n"
           "  --help              this text\n"
           "When every socket is bound it prints\n"
           "  z5r-sim ready port=<tcp> discovery=<udp> control=<tcp>\n";
}

SIdentity IdentityOf(const SOptions& options) {
    SIdentity identity;
    identity.serial = options.serial + (options.secure ? "*" : "");
    identity.name = options.name;
    identity.pulseModulation = options.pulseModulation;
    return identity;
}

}  // namespace z5rsim
