// The document of the password store: the root "Z5R_Client" holding the
// element "Secure" with the password in its attribute "Pass".
#pragma once

#include <optional>
#include <string>

#include <pugixml.hpp>

#include "model/password_store_format.h"

namespace z5r {

// The password a store without the attribute "Pass" holds.
inline constexpr const char* kFactoryPassword = "5820417396";

// The password of a store's document; none without the root "Z5R_Client" or
// its element "Secure".
std::optional<std::string> PasswordOfDocument(const pugi::xml_document& doc);

// Builds the store's document for `password` into `doc`, which should be empty.
void BuildPasswordDocument(pugi::xml_document& doc, const std::string& password);

}  // namespace z5r
