// Arbitrary datagrams as instruments' discovery replies: cleaning, matching,
// splitting and building the find-list entry must neither crash nor produce
// an entry whose resource name would not fit a caller's description buffer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "find_list.h"
#include "kvvisa/visa.h"
#include "resource_name.h"
#include "tcpip_discovery.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte picks the expression and the interface index; the rest
    // is the datagram exactly as it arrives.
    if (size == 0) return 0;
    static const char* const kExpressions[] = {"", "Z5R", "z5r", "\t", "8888"};
    const std::string_view expression = kExpressions[data[0] % 5];
    const unsigned interfaceIndex = data[0] / 5;
    const std::string_view datagram(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::string reply = kv::NormalizeReply(datagram);
    Require(reply.find('\0') == std::string::npos, "a cleaned reply ends at its first zero");
    Require(reply == kv::ToUpper(reply), "a cleaned reply is upper case");
    if (!reply.empty()) {
        Require(reply.front() != ' ' && reply.back() != '\n', "a cleaned reply is trimmed");
    }
    if (!kv::ReplyMatches(reply, expression)) return 0;

    const auto fields = kv::ParseDiscoveryReply(reply);
    if (!fields) {
        Require(std::count(reply.begin(), reply.end(), '\t') < 2, "two tabs make a reply");
        return 0;
    }
    // The reverse lookup may give any name, long ones included.
    const std::string longHost(300, 'h');
    for (const std::string_view host : {std::string_view(fields->address),
                                        std::string_view(longHost)}) {
        const std::string entry = kv::BuildDiscoveryEntry(interfaceIndex, host, *fields);
        const auto tab = entry.find('\t');
        Require(tab != std::string::npos, "an entry keeps the annotation's tab");
        kv::CSessionFindList list;
        list.Append(entry);
        Require(list.Count() == 1 && list.Name(0) == entry.substr(0, tab), "entry splits at its tab");
        const bool fits = list.Name(0).size() <= VI_FIND_BUFLEN - 2;
        Require(fits || list.Name(0).find(fields->address) != std::string::npos,
                "an overlong host name gives way to the address");
        char desc[VI_FIND_BUFLEN + 16];
        std::fill(desc, desc + sizeof desc, '\x5A');
        kv::WriteDescription(desc, list.Name(0), list.Annotation(0));
        for (std::size_t i = VI_FIND_BUFLEN; i < sizeof desc; ++i) {
            Require(desc[i] == '\x5A', "nothing written past the description buffer");
        }
    }
    return 0;
}
