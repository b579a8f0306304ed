// Arbitrary bytes as a protocol description file, loaded through the
// library's own entry point from a file (an in-memory one, so no disk is
// touched): the load must succeed or fail without crashing, and whatever it
// loaded must answer consistently: a name found by code leads back to that
// code, formats stay within their nibbles, texts are never null.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pugixml.hpp>
#include <string>

#include "protocollib/protocol_lib.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// One memory file, rewritten for each input and named by its /proc path.
class CMemoryFile {
public:
    CMemoryFile() : fd_(memfd_create("protocol_xml", MFD_CLOEXEC)) {
        Require(fd_ >= 0, "memfd_create");
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    void Replace(const uint8_t* data, size_t size) {
        Require(ftruncate(fd_, 0) == 0, "ftruncate");
        size_t done = 0;
        while (done < size) {
            const ssize_t count = pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            Require(count > 0, "pwrite");
            done += static_cast<size_t>(count);
        }
    }
    const char* Path() const { return path_.c_str(); }

private:
    int fd_;
    std::string path_;
};

void CheckCode(ProtocolContext* context, int code) {
    const char* command = GetCommandName(context, code);
    Require(command != nullptr, "command name never null");
    if (*command != '\0') Require(GetCommandID(context, command) == code, "command round trip");

    const char* parameter = GetParameterName(context, code);
    Require(parameter != nullptr, "parameter name never null");
    if (*parameter != '\0') {
        Require(GetParameterID(context, parameter) == code, "parameter round trip");
    }
    const int size = GetParameterSize(context, code, 0);
    const int fract = GetParameterFract(context, code, 0);
    Require(size >= 0 && size <= 15 && fract >= 0 && fract <= size, "format within nibbles");
    Require(size == GetParameterSize(context, code, 3), "one format per parameter");

    Require(GetErrorName(context, static_cast<short>(code)) != nullptr, "status name never null");
}

// Names found through the library lead to a code that names a table entry.
void CheckName(ProtocolContext* context, const char* name) {
    const int command = GetCommandID(context, name);
    if (command >= 0) {
        Require(command <= 0xFFFF, "command code within 16 bits");
        Require(*GetCommandName(context, command) != '\0', "command code has a name");
    }
    const int parameter = GetParameterID(context, name);
    if (parameter >= 0) {
        Require(parameter <= 0xFFFF, "parameter identifier within 16 bits");
        Require(*GetParameterName(context, parameter) != '\0', "identifier has a name");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CMemoryFile file;
    file.Replace(data, size);

    ProtocolContext* context = nullptr;
    Require(OpenSession(&context) == 0, "OpenSession");
    const int loaded = ProtLoadFromFile(context, file.Path());

    // Codes that appear in the input and a few fixed ones.
    for (const int code : {0, 1, 3, 15, 255, 0xFFFF, -1, -32768, 32767}) CheckCode(context, code);
    pugi::xml_document document;
    if (document.load_buffer(data, size, pugi::parse_default, pugi::encoding_utf8)) {
        for (const auto& node : document.select_nodes("//*[@name]")) {
            const auto element = node.node();
            CheckName(context, element.attribute("name").value());
            for (const char* attribute : {"value", "id"}) {
                CheckCode(context, element.attribute(attribute).as_int());
            }
        }
    } else {
        Require(loaded < 0, "what pugixml cannot parse does not load");
    }
    if (loaded < 0) {
        Require(GetCommandID(context, "KV_TEST") < 0, "failed load answers nothing");
    }
    CloseSession(context);
    return 0;
}
