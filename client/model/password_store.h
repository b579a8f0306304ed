// The superuser's password store "secure" beside the program. The password
// is kept as plain text, as installed stores hold it.
#pragma once

#include <optional>
#include <string>

#include "model/password_store_document.h"

namespace z5r {

// The store in the program's folder `applicationDir`.
std::string PasswordStorePath(const std::string& applicationDir);

// None when the store is missing, not such a document, or lacks the root.
std::optional<std::string> ReadPassword(const std::string& path);

// Replaces the whole store; only a store that exists is written. False when
// it is missing or cannot be written (the previous store is then whole).
bool WritePassword(const std::string& path, const std::string& password);

}  // namespace z5r
