#include "find_line.h"

#include <cctype>
#include <cstring>
#include <optional>

namespace kvfind {

namespace {

constexpr std::string_view kSerialPrefix = "ASRL";

// The port number of "ASRL<n>::INSTR" (any case), or nothing.
std::optional<long long> SerialPort(std::string_view name) {
    if (name.size() <= kSerialPrefix.size()) return std::nullopt;
    for (std::size_t i = 0; i < kSerialPrefix.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != kSerialPrefix[i]) return std::nullopt;
    }
    const std::string_view digits = name.substr(kSerialPrefix.size(), name.find("::") - kSerialPrefix.size());
    long long port = 0;
    for (const char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        // Beyond any port a map can name.
        if (port > 1'000'000'000) return std::nullopt;
        port = port * 10 + (c - '0');
    }
    return port;
}

}  // namespace

SFindEntry EntryOf(const ViChar (&desc)[VI_FIND_BUFLEN]) {
    const std::size_t nameLength = strnlen(desc, VI_FIND_BUFLEN);
    SFindEntry entry;
    entry.name.assign(desc, nameLength);
    if (nameLength + 1 < VI_FIND_BUFLEN) {
        const char* annotation = desc + nameLength + 1;
        entry.annotation.assign(annotation, strnlen(annotation, VI_FIND_BUFLEN - nameLength - 1));
    }
    return entry;
}

std::string FindLine(const SFindEntry& entry, const kv::SerialPortMap& map) {
    std::string line = entry.name + entry.annotation;
    while (!line.empty() && (line.back() == '\t' || line.back() == '\r' || line.back() == '\n')) {
        line.pop_back();
    }
    if (const auto port = SerialPort(entry.name)) {
        if (const auto device = kv::SerialDeviceFor(map, *port)) line += '\t' + *device;
    }
    return line;
}

}  // namespace kvfind
