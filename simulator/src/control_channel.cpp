#include "control_channel.h"

#include <charconv>
#include <optional>
#include <vector>

#include "kvproto/instrument_map.h"
#include "state_report.h"

namespace z5rsim {

std::vector<std::string_view> ControlWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r')) ++at;
        const std::size_t start = at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t' && line[at] != '\r') ++at;
        if (at > start) words.push_back(line.substr(start, at - start));
    }
    return words;
}

namespace {

std::optional<bool> OnOff(std::string_view word) {
    if (word == "on") return true;
    if (word == "off") return false;
    return std::nullopt;
}

// An instrument error status: a non-zero 16-bit value (0 means "no error").
std::optional<std::int16_t> ErrorStatus(std::string_view word) {
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
    if (value == 0 || value < -32768 || value > 32767) return std::nullopt;
    return static_cast<std::int16_t>(value);
}

SControlReply Ok(std::string text = {}, EControlAction action = EControlAction::None) {
    return {std::move(text) + "OK\n", action};
}

SControlReply Err(std::string_view reason) { return {"ERR " + std::string(reason) + "\n"}; }

// A setting written through the instrument protocol, by its name in the state report.
std::optional<kvproto::EInstrumentField> WritableField(std::string_view name) {
    for (const kvproto::SInstrumentField& row : kvproto::InstrumentFields()) {
        if (row.name == name && row.access != kvproto::EFieldAccess::ReadOnly) return row.field;
    }
    return std::nullopt;
}

std::optional<std::int64_t> WireValue(std::string_view word) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

}  // namespace

SControlReply HandleControlLine(std::string_view line, CInstrumentState& state, SServerStatus& status) {
    const std::vector<std::string_view> words = ControlWords(line);
    if (words.empty()) return Err("empty command");
    const std::string_view command = words[0];
    const std::size_t arguments = words.size() - 1;

    if (command == "state" && arguments == 0) return Ok(StateReport(state, status));
    if (command == "drop" && arguments == 0) return Ok({}, EControlAction::DropClients);
    if (command == "quit" && arguments == 0) return Ok({}, EControlAction::Quit);
    if (command == "lose-ref" && arguments == 0) {
        state.LoseReference();
        return Ok();
    }
    if (command == "restore-ref" && arguments == 0) {
        state.RestoreReference();
        return Ok();
    }
    if (command == "mute" || command == "rf-button") {
        const std::optional<bool> on = arguments == 1 ? OnOff(words[1]) : std::nullopt;
        if (!on) return Err("expected on or off");
        if (command == "mute") {
            status.muted = *on;
        } else {
            state.SetRfButton(*on);
        }
        return Ok();
    }
    if (command == "error") {
        const std::optional<std::int16_t> code = arguments == 1 ? ErrorStatus(words[1]) : std::nullopt;
        if (!code) return Err("expected a non-zero status from -32768 to 32767");
        state.QueueError(*code);
        return Ok();
    }
    if (command == "hold" || command == "release") {
        const std::optional<kvproto::EInstrumentField> field =
            arguments >= 1 ? WritableField(words[1]) : std::nullopt;
        if (!field) return Err("expected a setting's name");
        if (command == "release") {
            if (arguments != 1) return Err("expected a setting's name only");
            state.Release(*field);
            return Ok();
        }
        const std::optional<std::int64_t> wire = arguments == 2 ? WireValue(words[2]) : std::nullopt;
        if (!wire) return Err("expected a setting's name and its value as sent");
        state.Hold(*field, *wire);
        return Ok();
    }
    const bool known = command == "state" || command == "drop" || command == "quit" ||
                       command == "lose-ref" || command == "restore-ref";
    return Err(known ? "no arguments expected" : "unknown command");
}

}  // namespace z5rsim
