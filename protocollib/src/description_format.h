// The description file's vocabulary, shared by the generator that writes the
// file and the library that reads it, so the two cannot drift apart.
#pragma once

namespace protocollib::format {

inline constexpr int kVersion = 1;

inline constexpr const char* kRoot = "protocol";
inline constexpr const char* kVersionAttr = "version";

inline constexpr const char* kCommands = "commands";
inline constexpr const char* kCommand = "command";
inline constexpr const char* kParameters = "parameters";
inline constexpr const char* kParameter = "parameter";
inline constexpr const char* kStatuses = "statuses";
inline constexpr const char* kStatus = "status";

inline constexpr const char* kNameAttr = "name";
inline constexpr const char* kValueAttr = "value";  // commands and statuses
inline constexpr const char* kIdAttr = "id";        // parameters
inline constexpr const char* kSizeAttr = "size";    // bytes per value, 0 when unknown
inline constexpr const char* kFractAttr = "fract";  // fraction bytes among them
inline constexpr const char* kDescriptionAttr = "description";
inline constexpr const char* kTextAttr = "text";

// Ranges the header fields can carry: command codes and parameter
// identifiers are unsigned 16-bit, statuses signed 16-bit, and a value
// format is two nibbles.
inline constexpr long long kMinCode = 0;
inline constexpr long long kMaxCode = 0xFFFF;
inline constexpr long long kMinStatus = -32768;
inline constexpr long long kMaxStatus = 32767;
inline constexpr long long kMaxFormatNibble = 15;

}  // namespace protocollib::format
