// The password store: a document of the common library beside the program,
// compressed, behind the tag "QLT" 01, with the root "Z5R_Client" holding the
// element "Secure" and its attribute "Pass".
#pragma once

namespace z5r {

inline constexpr const char kPasswordStoreSignature[] = "QLT\x01";
inline constexpr const char* kPasswordStoreRoot = "Z5R_Client";

}  // namespace z5r
