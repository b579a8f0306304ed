// A protocol library stand-in for the text-command fuzz targets: every
// answer (codes, value formats, names of any content) comes from the
// fuzzer's bytes, so hostile tables are explored with the input.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "protocol_library.h"

namespace kvfuzz {

class FuzzProtocolNames : public kv::IProtocolNames {
public:
    explicit FuzzProtocolNames(FuzzedDataProvider& input)
        : commandId_(input.ConsumeIntegral<int>()),
          parameterId_(input.ConsumeIntegral<int>()),
          size_(input.ConsumeIntegral<int>()),
          fraction_(input.ConsumeIntegral<int>()),
          commandName_(input.ConsumeRandomLengthString(40)),
          parameterName_(input.ConsumeRandomLengthString(40)),
          errorName_(input.ConsumeRandomLengthString(40)) {}

    // Names of odd length are unknown, so both answers are reached.
    int CommandId(const std::string& name) const override {
        return name.size() % 2 == 0 ? commandId_ : -1;
    }
    int ParameterId(const std::string& name) const override {
        return name.size() % 2 == 0 ? parameterId_ : -1;
    }
    int ParameterSize(int) const override { return size_; }
    int ParameterFract(int) const override { return fraction_; }
    std::string_view CommandName(int) const override { return commandName_; }
    std::string_view ParameterName(int) const override { return parameterName_; }
    std::string_view ErrorName(std::int16_t) const override { return errorName_; }

private:
    int commandId_;
    int parameterId_;
    int size_;
    int fraction_;
    std::string commandName_;
    std::string parameterName_;
    std::string errorName_;
};

}  // namespace kvfuzz
