#include "receiver_control.h"

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace z5rsim {

namespace {

template <typename T>
std::optional<T> Number(std::string_view word) {
    T value{};
    if (!word.empty() && word[0] == '+') word.remove_prefix(1);
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(value)) return std::nullopt;
    }
    return value;
}

SControlReply Ok(std::string text = {}) { return {std::move(text) + "OK\n"}; }
SControlReply Err(std::string_view reason) { return {"ERR " + std::string(reason) + "\n"}; }

// Levels beyond these would only saturate the 32-bit samples.
constexpr double kHighestLevel = 190;
constexpr double kLowestLevel = -100;

bool LevelInRange(double level) { return level >= kLowestLevel && level <= kHighestLevel; }

std::optional<SControlReply> Fault(const std::vector<std::string_view>& words, SReceiverFaults& faults) {
    if (words.size() == 2 && words[1] == "none") {
        faults = {};
        return Ok();
    }
    if (words.size() != 3) return Err("expected fault <kind> <value> or fault none");
    const std::string_view kind = words[1];
    if (kind == "extra-pairs") {
        const auto n = Number<std::uint32_t>(words[2]);
        if (!n || *n > 8188) return Err("expected 0 to 8188 pairs");
        faults.extraPairs = *n;
    } else if (kind == "data-length") {
        const auto n = Number<std::int32_t>(words[2]);
        if (!n || *n < -65535 || *n > 65535) return Err("expected -65535 to 65535 bytes");
        faults.dataLengthChange = *n;
    } else if (kind == "data-status") {
        const auto n = Number<std::int16_t>(words[2]);
        if (!n) return Err("expected a status from -32768 to 32767");
        faults.dataStatus = *n;
    } else if (kind == "stop-after") {
        const auto n = Number<std::uint64_t>(words[2]);
        if (!n) return Err("expected a number of answers");
        faults.stopAfter = *n;
    } else {
        return Err("unknown fault");
    }
    return Ok();
}

}  // namespace

std::optional<SControlReply> HandleReceiverControlLine(std::string_view line, CReceiver& receiver) {
    const std::vector<std::string_view> words = ControlWords(line);
    if (words.empty()) return std::nullopt;
    const std::string_view command = words[0];
    SReceiverScene scene = receiver.Scene();
    if (command == "tone") {
        const auto frequency = words.size() == 3 ? Number<double>(words[1]) : std::nullopt;
        const auto level = words.size() == 3 ? Number<double>(words[2]) : std::nullopt;
        if (!frequency || !level || *frequency < 0 || !LevelInRange(*level)) return Err("expected tone <Hz> <dB>");
        scene.tones.push_back({*frequency, *level});
    } else if (command == "noise") {
        if (words.size() == 2 && words[1] == "off") {
            scene.noiseLevel.reset();
        } else {
            const auto level = words.size() >= 2 && words.size() <= 3 ? Number<double>(words[1]) : std::nullopt;
            const auto seed = words.size() == 3 ? Number<std::uint64_t>(words[2]) : std::optional<std::uint64_t>(scene.seed);
            if (!level || !seed || !LevelInRange(*level)) return Err("expected noise <dB> [<seed>] or noise off");
            scene.noiseLevel = *level;
            scene.seed = *seed;
        }
    } else if (command == "attenuation") {
        const auto level = words.size() == 2 ? Number<double>(words[1]) : std::nullopt;
        if (!level || *level < 0 || *level > 120) return Err("expected attenuation <0 to 120 dB>");
        scene.attenuation = *level;
    } else if (command == "clear-scene" && words.size() == 1) {
        scene = SReceiverScene{};
    } else if (command == "fault") {
        return Fault(words, receiver.Faults());
    } else if (command == "receiver" && words.size() == 1) {
        return Ok("mode=" + std::to_string(receiver.Mode()) + "\ndata-packets=" + std::to_string(receiver.DataPackets()) + "\n");
    } else {
        return std::nullopt;
    }
    receiver.SetScene(scene);
    return Ok();
}

}  // namespace z5rsim
