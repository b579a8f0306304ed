#include "model/password_store_document.h"

#include "korvel/common/xml_nodes.h"

namespace z5r {

namespace {

constexpr const char* kSecureElement = "Secure";
constexpr const char* kPassAttribute = "Pass";

}  // namespace

std::optional<std::string> PasswordOfDocument(const pugi::xml_document& doc) {
    const pugi::xml_node secure = doc.child(kPasswordStoreRoot).child(kSecureElement);
    if (!secure) return std::nullopt;
    const pugi::xml_attribute pass = secure.attribute(kPassAttribute);
    return pass ? std::string(pass.value()) : std::string(kFactoryPassword);
}

void BuildPasswordDocument(pugi::xml_document& doc, const std::string& password) {
    pugi::xml_node root = doc.append_child(kPasswordStoreRoot);
    pugi::xml_node secure = root.append_child(kSecureElement);
    VxCore::AddAttribute(secure, kPassAttribute, password.c_str());
}

}  // namespace z5r
