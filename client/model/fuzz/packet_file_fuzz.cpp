// Any bytes as a packet file: one pulse per non-empty line, and what is read
// is written and read back unchanged.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "model/packet_file.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

std::size_t NonEmptyLines(std::string_view text) {
    std::size_t lines = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (!line.empty()) ++lines;
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<z5r::SPulse> pulses = z5r::ParsePacketText(text);
    Require(pulses.size() == NonEmptyLines(text), "one pulse per non-empty line");

    // Written with 13 digits, a value reads back as its 13-digit rounding:
    // written once more it gives the same text.
    const std::string written = z5r::PacketFileText(pulses);
    const std::vector<z5r::SPulse> again = z5r::ParsePacketText(written);
    Require(again.size() == pulses.size(), "every pulse is written");
    Require(z5r::PacketFileText(again) == written, "a written file reads back as written");
    for (std::size_t i = 0; i < pulses.size(); ++i) {
        Require(again[i].used == pulses[i].used, "the tick reads back");
        Require(std::isnan(again[i].tau) == std::isnan(pulses[i].tau), "a blank duration stays blank");
    }
    return 0;
}
