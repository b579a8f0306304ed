// Any bytes as the XML text of a password store: a password the reader finds
// is written into a new store and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "model/password_store_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pugi::xml_document doc;
    if (!doc.load_buffer(data, size)) return 0;
    const std::optional<std::string> password = z5r::PasswordOfDocument(doc);
    if (!password) return 0;
    pugi::xml_document written;
    z5r::BuildPasswordDocument(written, *password);
    std::ostringstream text;
    written.save(text, "", pugi::format_raw, pugi::encoding_utf8);
    pugi::xml_document reread;
    if (!reread.load_string(text.str().c_str()) || z5r::PasswordOfDocument(reread) != password) {
        std::fprintf(stderr, "broken: the password does not read back\n");
        std::abort();
    }
    return 0;
}
