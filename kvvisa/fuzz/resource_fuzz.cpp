// Arbitrary bytes as resource strings and enumeration entries: the tokenizer,
// the check, the layer choice, ParseRsrc and the description writer must
// neither crash nor write past a caller's 256-byte buffer, and must agree
// with each other.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "find_list.h"
#include "kvvisa/visa.h"
#include "res_mgr.h"
#include "resource_name.h"

namespace {

constexpr unsigned char kCanary = 0xC5;

// A caller's buffer of the standard size with a guard zone behind it.
struct GuardedBuffer {
    char data[VI_FIND_BUFLEN];
    unsigned char guard[64];

    GuardedBuffer() {
        std::memset(data, kCanary, sizeof data);
        std::memset(guard, kCanary, sizeof guard);
    }
    void CheckGuard(const char* who) const {
        for (unsigned char c : guard) {
            if (c != kCanary) {
                std::fprintf(stderr, "%s wrote past the 256-byte buffer\n", who);
                std::abort();
            }
        }
    }
};

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void FuzzTokens(std::string_view input) {
    const auto tokens = kv::SplitResource(input);
    if (tokens.empty()) {
        Require(input.find(':') != input.rfind(':'), "only a string with two colons is malformed");
        return;
    }
    // No byte lost or invented: the tokens join back to the input.
    std::string joined = tokens.front();
    for (size_t i = 1; i < tokens.size(); ++i) joined += "::" + tokens[i];
    Require(joined == input, "tokens join back to the input");
    for (size_t i = 0; i + 1 < tokens.size(); ++i) {
        Require(tokens[i].find(':') == std::string::npos, "inner tokens hold no colon");
    }
    (void)kv::LayerOf(tokens);
}

void FuzzParseRsrc(const std::string& name) {
    static kv::CResMgr manager;  // only ParseRsrc is used: nothing is opened
    GuardedBuffer rsrcClass, expanded, alias;
    ViUInt16 type = 0xFFFF, number = 0xFFFF;
    const ViStatus status =
        manager.ParseRsrc(name.c_str(), &type, &number, rsrcClass.data, expanded.data, alias.data);
    rsrcClass.CheckGuard("ParseRsrc class");
    expanded.CheckGuard("ParseRsrc expanded name");
    alias.CheckGuard("ParseRsrc alias");
    Require(static_cast<unsigned char>(alias.data[0]) == kCanary, "alias is left alone");

    // ParseRsrc sees the string up to its first zero, like a C caller's.
    const std::string cString(name.c_str());
    const auto info = kv::CheckResource(cString);
    Require((status == VI_SUCCESS) == info.has_value(), "ParseRsrc agrees with the check");
    if (status == VI_SUCCESS) {
        Require(type == info->interfaceType && number == 0, "type and number");
        Require(info->resourceClass == rsrcClass.data, "class is the upper-cased class token");
        Require(cString.compare(0, std::strlen(expanded.data), expanded.data) == 0,
                "expanded name is the string itself");
    } else {
        Require(status == VI_ERROR_INV_RSRC_NAME, "rejection status");
        Require(type == 0xFFFF && number == 0xFFFF, "a rejection writes nothing");
        Require(static_cast<unsigned char>(rsrcClass.data[0]) == kCanary, "no class written");
    }
}

// Each line is an enumeration entry; the list hands them back one by one.
void FuzzFindList(std::string_view input) {
    kv::CSessionFindList list;
    size_t start = 0;
    while (start <= input.size()) {
        const size_t end = std::min(input.find('\n', start), input.size());
        list.Append(input.substr(start, end - start));
        start = end + 1;
    }
    for (size_t i = 0; i < list.Count(); ++i) {
        GuardedBuffer desc;
        if (i == 0) {
            kv::WriteDescription(desc.data, list.Name(0), list.Annotation(0));
        } else {
            const ViStatus status = list.FindNext(desc.data);
            Require(status == (i + 1 == list.Count() ? VI_ERROR_RSRC_NFOUND : VI_SUCCESS),
                    "FindNext status");
        }
        desc.CheckGuard("WriteDescription");
        // Both zeros fall inside the buffer, the name first.
        const void* firstZero = std::memchr(desc.data, '\0', sizeof desc.data);
        Require(firstZero != nullptr, "name ends inside the buffer");
        const size_t nameLength = static_cast<const char*>(firstZero) - desc.data;
        Require(std::memchr(desc.data + nameLength + 1, '\0', sizeof desc.data - nameLength - 1),
                "annotation ends inside the buffer");
        Require(list.Name(i).compare(0, nameLength, desc.data, nameLength) == 0,
                "delivered name is the entry's name");
    }
    GuardedBuffer past;
    Require(list.FindNext(past.data) == VI_ERROR_RSRC_NFOUND, "nothing after the last entry");
    Require(static_cast<unsigned char>(past.data[0]) == kCanary, "nothing written past the end");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    FuzzTokens(input);
    (void)kv::CheckResource(input);
    FuzzParseRsrc(input);
    FuzzFindList(input);
    return 0;
}
