// A protocol description as read from its XML file: the command, parameter
// and status tables and each parameter's value format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>

#include "name_table.h"

namespace protocollib {

struct ParameterFormat {
    int size = 0;   // bytes per value, 0 when not known
    int fract = 0;  // how many of them are fraction
};

class CProtocolDescription {
public:
    // Null when the bytes are not XML or not a description of a version we
    // read. Entries with a missing, malformed or out-of-range attribute, and
    // entries repeating a name already in their table, are skipped.
    static std::unique_ptr<CProtocolDescription> Parse(const void* data, std::size_t size);

    const CNameTable& Commands() const { return commands_; }
    const CNameTable& Parameters() const { return parameters_; }
    const CNameTable& Statuses() const { return statuses_; }

    // Format of the first parameter with this identifier; {0, 0} when none.
    ParameterFormat FormatOf(std::int32_t parameterId) const;

private:
    CNameTable commands_;
    CNameTable parameters_;
    CNameTable statuses_;
    std::map<std::int32_t, ParameterFormat> formats_;

    friend class CDescriptionReader;
};

}  // namespace protocollib
