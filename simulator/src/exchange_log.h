// One request and its answer as a readable line for the -v log, e.g.
// "SET P_FREQUENCY CwFrequency 1000000000 -> 1000000000 (KV_NO_ERROR)".
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace z5rsim {

struct SExchangeRecord {
    std::uint16_t command = 0;
    bool hasParam = false;
    std::uint16_t param = 0;
    std::string subject;          // field name or chunk offset; "" when unknown
    double scale = 1;             // wire value = setting × scale
    bool text = false;            // the answer values are the bytes of a text
    // Wire values after the field index or offset: a view of the parsed
    // request, which outlives the record; copying them would cost every
    // list chunk whether a log is kept or not.
    std::span<const double> request;
    std::vector<std::int64_t> answer;
    std::int16_t status = 0;
};

std::string DescribeExchange(const SExchangeRecord& record);

}  // namespace z5rsim
