// Resource strings: splitting into tokens and the well-formedness check.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kvvisa/visatype.h"

namespace kv {

// Splits at each "::". A string whose first colon is not followed by a second
// one is malformed and gives no tokens; a token may be empty, and a single
// colon stays inside the last token ("A::B:C" gives "A" and "B:C").
std::vector<std::string> SplitResource(std::string_view name);

// Reads a decimal number the way the C library's atol does: leading blanks,
// an optional sign, digits; whatever follows is ignored; no digits give 0.
// Saturates instead of overflowing.
long long ParseDecimal(std::string_view text);

struct ResourceInfo {
    ViUInt16 interfaceType = 0;  // VI_INTF_ASRL, VI_INTF_TCPIP or VI_INTF_USB
    std::string resourceClass;   // upper-cased class token
};

// Checks the three accepted forms: ASRLn::INSTR, TCPIPn::host::port::SOCKET
// and USBn::a::b::serial::RAW. Tokens after the class token are not checked.
std::optional<ResourceInfo> CheckResource(std::string_view name);

// The layer a resource string asks for through its last token.
enum class ELayer { None, Hook, Tcs, Sa };
ELayer LayerOf(const std::vector<std::string>& tokens);

// The layer tokens as they end a resource string.
constexpr std::string_view kHookToken = "HOOK";
constexpr std::string_view kTcsToken = "TCS";
constexpr std::string_view kSaToken = "SA";

// `name` without its last token when that token is `token`: what a layer
// opens underneath itself. A host or any earlier token that merely starts
// with the same letters stays as it is.
std::string WithoutLastToken(std::string_view name, std::string_view token);

std::string ToUpper(std::string_view text);

}  // namespace kv
