// The protocol statuses the instrument answers with (values of the status
// dictionary; a test checks them against it by name).
#pragma once

#include <cstdint>

namespace z5rsim {

enum EStatus : std::int16_t {
    KV_NO_ERROR = 0,
    KV_PARAMETER_CORRECTED = 1,
    KV_PARAMETER_IGNORED = 2,
    KV_UNKNOWN_COMMAND = -32767,
    KV_UNKNOWN_PARAMETER = -32766,
    KV_PARAMETER_INCORRECT = -32765,
    KV_NO_PARAMETERS = -32764,
    KV_SMALL_SIZE = -32763,
    KV_SIZE_ERROR = -32755,
    KV_SIGNATURE_ERROR = -32754,
    KV_EXTREF_NO_PLL = -32740,
};

}  // namespace z5rsim
