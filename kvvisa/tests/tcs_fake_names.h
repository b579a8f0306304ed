// A protocol library stand-in for the text-command units: tables a test
// writes itself, including ones no sane description file would hold.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "protocol_library.h"

namespace kvtest {

class FakeProtocolNames : public kv::IProtocolNames {
public:
    struct Parameter {
        std::string name;
        int id;
        int size;
        int fract;
    };
    struct Code {
        std::string name;
        int code;
    };

    std::vector<Code> commands;
    std::vector<Parameter> parameters;
    std::vector<Code> errors;  // name as the library gives it, e.g. "X = -5"

    // The protocol's usual entries, enough for most tests.
    static FakeProtocolNames Usual() {
        FakeProtocolNames names;
        names.commands = {{"KV_TEST", 0}, {"KV_RESET", 1}, {"KV_INIT", 2}, {"KV_SET", 3},
                          {"KV_GET", 4},  {"KV_GET_LIST", 5}, {"KV_RUN", 6}};
        names.parameters = {{"P_FREQUENCY", 0, 0, 0},     {"P_MODE", 3, 2, 0},
                            {"P_AVERAGING", 4, 1, 0},     {"P_RRS_FREQUENCY", 56, 6, 0},
                            {"P_LOG_KOEF", 94, 4, 2}};
        names.errors = {{"KV_NO_ERROR", 0},
                        {"KV_PARAMETER_CORRECTED", 1},
                        {"KV_CRITICAL_ERROR = -32768", -32768},
                        {"KV_UNKNOWN_COMMAND", -32767},
                        {"KV_UNKNOWN_PARAMETER", -32766}};
        return names;
    }

    int CommandId(const std::string& name) const override {
        for (const auto& c : commands) {
            if (c.name == name) return c.code;
        }
        return -1;
    }
    int ParameterId(const std::string& name) const override {
        for (const auto& p : parameters) {
            if (p.name == name) return p.id;
        }
        return -1;
    }
    int ParameterSize(int id) const override {
        const Parameter* p = Find(id);
        return p != nullptr ? p->size : 0;
    }
    int ParameterFract(int id) const override {
        const Parameter* p = Find(id);
        return p != nullptr ? p->fract : 0;
    }
    std::string_view CommandName(int code) const override { return NameOf(commands, code); }
    std::string_view ParameterName(int id) const override {
        const Parameter* p = Find(id);
        return p != nullptr ? std::string_view(p->name) : std::string_view();
    }
    std::string_view ErrorName(std::int16_t status) const override {
        return NameOf(errors, status);
    }

private:
    const Parameter* Find(int id) const {
        for (const auto& p : parameters) {
            if (p.id == id) return &p;
        }
        return nullptr;
    }
    static std::string_view NameOf(const std::vector<Code>& table, int code) {
        for (const auto& c : table) {
            if (c.code == code) return c.name;
        }
        return {};
    }
};

}  // namespace kvtest
