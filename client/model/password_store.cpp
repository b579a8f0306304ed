#include "model/password_store.h"

#include <sys/stat.h>

#include "korvel/common/xml_document.h"

namespace z5r {

std::string PasswordStorePath(const std::string& applicationDir) { return applicationDir + "/secure"; }

std::optional<std::string> ReadPassword(const std::string& path) {
    VxCore::CXMLDocument doc(true);
    doc.SetCompression(true);
    doc.SetSignature(kPasswordStoreSignature);
    if (doc.Open(path.c_str()) != VxCore::xdrOk) return std::nullopt;
    std::optional<std::string> password = PasswordOfDocument(doc.Doc());
    doc.Close();
    return password;
}

bool WritePassword(const std::string& path, const std::string& password) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    VxCore::CXMLDocument doc(true);
    doc.Open(nullptr);
    doc.SetSignature(kPasswordStoreSignature);
    doc.SetCompression(true);
    BuildPasswordDocument(doc.Doc(), password);
    return doc.Save(path.c_str()) == VxCore::xdrOk;
}

}  // namespace z5r
