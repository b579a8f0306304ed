#include "serial_port_map.h"

#include <strings.h>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace kv {

namespace {

constexpr std::string_view kPortPrefix = "ASRL";
constexpr std::string_view kDefaultRuleKey = "default";
constexpr std::string_view kOff = "off";
constexpr std::string_view kOn = "on";
constexpr std::string_view kMapFileName = "kvvisa/serial-ports.conf";
constexpr const char* kMapFileVariable = "KVVISA_SERIAL_PORTS";
constexpr const char* kSystemMapFile = "/etc/kvvisa/serial-ports.conf";

struct DefaultRange {
    SerialPortNumber first;
    std::string_view devicePrefix;
};
constexpr SerialPortNumber kDefaultRangeSize = 64;
constexpr DefaultRange kDefaultRanges[] = {
    {1, "/dev/ttyS"},
    {65, "/dev/ttyUSB"},
    {129, "/dev/ttyACM"},
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// "ASRL<digits>", any case; nothing for anything else or a number too big.
std::optional<SerialPortNumber> PortOfKey(std::string_view key) {
    if (key.size() <= kPortPrefix.size() ||
        !EqualsIgnoringCase(key.substr(0, kPortPrefix.size()), kPortPrefix)) {
        return std::nullopt;
    }
    SerialPortNumber port = 0;
    for (const char c : key.substr(kPortPrefix.size())) {
        if (c < '0' || c > '9') return std::nullopt;
        port = port * 10 + static_cast<SerialPortNumber>(c - '0');
        if (port > kMaxSerialPortNumber) return std::nullopt;
    }
    return port;
}

bool IsUsableDevice(std::string_view device) {
    if (device.size() <= kDeviceFolder.size() || device.substr(0, kDeviceFolder.size()) != kDeviceFolder) {
        return false;
    }
    for (const char c : device) {
        if (IsBlank(c) || c == '\0') return false;
    }
    return true;
}

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string UserMapFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config != '\0') return std::string(config) + "/" + std::string(kMapFileName);
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') return {};
    return std::string(home) + "/.config/" + std::string(kMapFileName);
}

}  // namespace

SerialPortMap ParseSerialPortMap(std::string_view text) {
    SerialPortMap map;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));

        line = Trim(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            ++map.skippedLines;
            continue;
        }
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view device = Trim(line.substr(equals + 1));
        if (EqualsIgnoringCase(key, kDefaultRuleKey)) {
            if (EqualsIgnoringCase(device, kOff) || EqualsIgnoringCase(device, kOn)) {
                map.defaultRule = EqualsIgnoringCase(device, kOn);
            } else {
                ++map.skippedLines;
            }
            continue;
        }
        const auto port = PortOfKey(key);
        if (!port || !IsUsableDevice(device) || !map.devices.emplace(*port, device).second) {
            ++map.skippedLines;
        }
    }
    return map;
}

SerialPortMap LoadSerialPortMap() {
    if (const char* named = std::getenv(kMapFileVariable); named != nullptr && *named != '\0') {
        const auto text = ReadFile(named);
        return text ? ParseSerialPortMap(*text) : SerialPortMap{};
    }
    for (const std::string& path : {UserMapFile(), std::string(kSystemMapFile)}) {
        if (path.empty()) continue;
        if (const auto text = ReadFile(path)) return ParseSerialPortMap(*text);
    }
    return {};
}

std::optional<std::string> DefaultSerialDevice(SerialPortNumber port) {
    for (const DefaultRange& range : kDefaultRanges) {
        if (port >= range.first && port < range.first + kDefaultRangeSize) {
            return std::string(range.devicePrefix) + std::to_string(port - range.first);
        }
    }
    return std::nullopt;
}

std::optional<std::string> SerialDeviceFor(const SerialPortMap& map, long long port) {
    if (port < 0 || port > kMaxSerialPortNumber) return std::nullopt;
    const auto number = static_cast<SerialPortNumber>(port);
    if (const auto it = map.devices.find(number); it != map.devices.end()) return it->second;
    if (!map.defaultRule) return std::nullopt;
    return DefaultSerialDevice(number);
}

std::vector<SerialPortCandidate> SerialPortCandidates(const SerialPortMap& map) {
    std::map<SerialPortNumber, std::string> ports = map.devices;
    std::set<std::string> mappedDevices;
    for (const auto& [port, device] : map.devices) mappedDevices.insert(device);
    for (const DefaultRange& range : kDefaultRanges) {
        if (!map.defaultRule) break;
        for (SerialPortNumber port = range.first; port < range.first + kDefaultRangeSize; ++port) {
            auto device = DefaultSerialDevice(port);
            if (!mappedDevices.contains(*device)) ports.emplace(port, std::move(*device));
        }
    }
    std::vector<SerialPortCandidate> candidates;
    candidates.reserve(ports.size());
    for (auto& [port, device] : ports) candidates.push_back({port, std::move(device)});
    return candidates;
}

}  // namespace kv
