#include "discovery_reply.h"

namespace z5rsim {

bool IsDiscoveryRequest(std::span<const char> datagram) {
    if (datagram.empty() || datagram[0] != '1') return false;
    for (const char c : datagram.subspan(1)) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    }
    return true;
}

std::string DiscoveryReply(std::string_view address, std::uint16_t port, const SIdentity& identity) {
    std::string reply(address);
    reply += '\t';
    reply += std::to_string(port);
    reply += '\t';
    reply += identity.name;
    reply += ' ';
    reply += identity.serial;
    reply += "\r\n";
    return reply;
}

}  // namespace z5rsim
