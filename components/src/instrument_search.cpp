#include "korvel/components/instrument_search.h"

#include <kvvisa/visa.h>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace korvel {

namespace {

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a)) ==
                      std::toupper(static_cast<unsigned char>(b));
           });
}

}  // namespace

std::optional<FoundInstrument> ParseFoundResource(const std::string& resource,
                                                  const std::string& annotation) {
    std::string_view rest = resource;
    if (!StartsWithNoCase(rest, "TCPIP")) return std::nullopt;
    rest.remove_prefix(5);
    while (!rest.empty() && std::isdigit(static_cast<unsigned char>(rest.front()))) {
        rest.remove_prefix(1);
    }
    if (rest.substr(0, 2) != "::") return std::nullopt;
    rest.remove_prefix(2);
    const auto hostEnd = rest.find("::");
    if (hostEnd == std::string_view::npos || hostEnd == 0) return std::nullopt;
    const std::string_view host = rest.substr(0, hostEnd);
    rest.remove_prefix(hostEnd + 2);
    const auto portEnd = rest.find("::");
    if (portEnd == std::string_view::npos || portEnd == 0) return std::nullopt;
    const std::string_view port = rest.substr(0, portEnd);
    if (!std::all_of(port.begin(), port.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        return std::nullopt;
    }
    rest.remove_prefix(portEnd + 2);
    if (!StartsWithNoCase(rest, "SOCKET") || rest.size() != 6) return std::nullopt;
    return FoundInstrument{resource, std::string(host), std::string(port), Trimmed(annotation)};
}

std::vector<FoundInstrument> SearchInstruments(const std::string& expression) {
    std::vector<FoundInstrument> found;
    ViSession manager = VI_NULL;
    if (viOpenDefaultRM(&manager) < VI_SUCCESS) return found;

    ViFindList list = VI_NULL;
    ViUInt32 count = 0;
    ViChar description[VI_FIND_BUFLEN] = {};
    if (viFindRsrc(manager, expression.c_str(), &list, &count, description) < VI_SUCCESS) {
        return found;
    }
    // Each description holds the resource name, its zero byte, then the
    // annotation and its own zero byte.
    const auto take = [&found, &description]() {
        const std::string name(description);
        const std::string annotation(description + name.size() + 1);
        if (auto entry = ParseFoundResource(name, annotation)) found.push_back(std::move(*entry));
    };
    take();
    // The library closes the list itself when it hands out the last entry.
    bool closed = false;
    for (ViUInt32 i = 1; i < count && !closed; ++i) {
        description[0] = '\0';
        description[1] = '\0';
        const ViStatus status = viFindNext(list, description);
        if (status < VI_SUCCESS && status != VI_ERROR_RSRC_NFOUND) break;
        closed = status == VI_ERROR_RSRC_NFOUND;
        take();
    }
    if (!closed) viClose(list);
    return found;
}

}  // namespace korvel
