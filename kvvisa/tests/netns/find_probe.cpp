// Searches for instruments through the library's C interface only, the way
// an application does, and prints what it was given:
//
//   find_probe EXPRESSION             search, then walk the list with viFindNext
//   find_probe --null-list EXPRESSION search without a list handle
//   find_probe --check-namespace      only the namespace guard below
//
// Output lines (escaped: \t \r \n \\ \xHH):
//   find status=0xSSSSSSSS count=N list=yes|no
//   entry name=NAME note=ANNOTATION     after each delivered description
//   next status=0xSSSSSSSS              per viFindNext, count-1 times
//   extra status=0xSSSSSSSS             one more viFindNext on the handle
//   close status=0xSSSSSSSS             viClose of the handle
//   leftover N                          (--null-list) live handles it left
//   canary intact|overwritten           bytes past VI_FIND_BUFLEN untouched?
//
// A search broadcasts on every interface, so the probe refuses to run (exit
// code 3) in the machine's own network namespace.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "kvvisa/visa.h"
#include "netns/machine_namespace.h"

namespace {

constexpr int kRefused = 3;
constexpr unsigned char kCanaryByte = 0xA5;
constexpr size_t kCanaryLength = 64;

std::string Escape(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\\': out += "\\\\"; break;
            default:
                if (byte < 0x20 || byte >= 0x7F) {
                    char hex[5];
                    std::snprintf(hex, sizeof hex, "\\x%02X", byte);
                    out += hex;
                } else {
                    out += c;
                }
        }
    }
    return out;
}

// A description buffer of VI_FIND_BUFLEN bytes followed by a guard area.
struct DescriptionBuffer {
    char bytes[VI_FIND_BUFLEN + kCanaryLength];
    bool overwritten = false;

    DescriptionBuffer() { Reset(); }
    void Reset() { std::memset(bytes, kCanaryByte, sizeof bytes); }
    void CheckCanary() {
        for (size_t i = VI_FIND_BUFLEN; i < sizeof bytes; ++i) {
            if (static_cast<unsigned char>(bytes[i]) != kCanaryByte) overwritten = true;
        }
    }
    // Name, zero byte, annotation, zero byte; both looked for inside the buffer.
    void PrintEntry() {
        CheckCanary();
        const size_t nameLength = strnlen(bytes, VI_FIND_BUFLEN);
        std::string note = "<unterminated>";
        if (nameLength + 1 < VI_FIND_BUFLEN) {
            const char* annotation = bytes + nameLength + 1;
            const size_t room = VI_FIND_BUFLEN - nameLength - 1;
            const size_t noteLength = strnlen(annotation, room);
            if (noteLength < room) note = Escape(std::string_view(annotation, noteLength));
        }
        std::printf("entry name=%s note=%s\n", Escape(std::string_view(bytes, nameLength)).c_str(),
                    note.c_str());
        Reset();
    }
};

void PrintStatus(const char* what, ViStatus status) {
    std::printf("%s status=0x%08X\n", what, static_cast<unsigned>(status));
}

ViStatus Search(ViSession rm, const char* expression, ViFindList* list, DescriptionBuffer& desc) {
    ViUInt32 count = 0;
    const ViStatus status = viFindRsrc(rm, expression, list, &count, desc.bytes);
    std::printf("find status=0x%08X count=%u list=%s\n", static_cast<unsigned>(status),
                static_cast<unsigned>(count), list != nullptr && *list != VI_NULL ? "yes" : "no");
    if (status == VI_SUCCESS) {
        desc.PrintEntry();
        // Callers walk exactly count-1 further entries.
        for (ViUInt32 i = 1; list != nullptr && i < count; ++i) {
            PrintStatus("next", viFindNext(*list, desc.bytes));
            desc.PrintEntry();
        }
    }
    desc.CheckCanary();
    return status;
}

int WalkAll(ViSession rm, const char* expression) {
    DescriptionBuffer desc;
    ViFindList list = VI_NULL;
    Search(rm, expression, &list, desc);
    if (list != VI_NULL) {
        PrintStatus("extra", viFindNext(list, desc.bytes));
        desc.CheckCanary();
        PrintStatus("close", viClose(list));
    }
    std::printf("canary %s\n", desc.overwritten ? "overwritten" : "intact");
    return 0;
}

// Handles are handed out in increasing order, so a handle left behind by the
// search without a list lies between those of the searches around it.
int WithoutList(ViSession rm, const char* expression) {
    DescriptionBuffer desc;
    ViFindList before = VI_NULL;
    ViUInt32 ignored = 0;
    if (viFindRsrc(rm, expression, &before, &ignored, desc.bytes) != VI_SUCCESS) return 1;
    viClose(before);
    desc.Reset();

    Search(rm, expression, nullptr, desc);

    ViFindList after = VI_NULL;
    if (viFindRsrc(rm, expression, &after, &ignored, desc.bytes) != VI_SUCCESS) return 1;
    viClose(after);
    desc.CheckCanary();
    unsigned leftover = 0;
    for (ViFindList h = before + 1; h < after; ++h) {
        if (viClose(h) == VI_SUCCESS) ++leftover;
    }
    std::printf("leftover %u\n", leftover);
    std::printf("canary %s\n", desc.overwritten ? "overwritten" : "intact");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (kvtest::InMachineNetworkNamespace()) {
        std::fprintf(stderr, "find_probe: refusing to search the machine's own network; "
                             "run it in a network namespace of its own\n");
        return kRefused;
    }
    const std::string_view mode = argc > 1 ? argv[1] : "";
    if (mode == "--check-namespace") return 0;

    ViSession rm = VI_NULL;
    if (viOpenDefaultRM(&rm) != VI_SUCCESS) return 1;
    int result = 2;
    if (mode == "--null-list" && argc == 3) {
        result = WithoutList(rm, argv[2]);
    } else if (argc == 2) {
        result = WalkAll(rm, argv[1]);
    } else {
        std::fprintf(stderr, "usage: find_probe [--null-list] EXPRESSION | --check-namespace\n");
    }
    viClose(rm);
    return result;
}
