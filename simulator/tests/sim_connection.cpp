#include "sim_connection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "kvproto/packet.h"
#include "support/scripted_peer.h"

namespace z5rtest {

int ConnectLocal(std::uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

CConnection::~CConnection() {
    if (fd_ >= 0) close(fd_);
}

bool CConnection::Send(const Bytes& bytes) const { return kvtest::WriteAll(fd_, bytes.data(), bytes.size()); }

std::optional<Bytes> CConnection::ReadPacket(int timeoutMs) const {
    Bytes packet(kvproto::kHeaderSize);
    if (!kvtest::ReadExactly(fd_, packet.data(), packet.size(), timeoutMs)) return std::nullopt;
    const kvproto::PacketHeader header = kvproto::DecodeHeader(packet.data());
    packet.resize(kvproto::kHeaderSize + header.bodyLen);
    if (header.bodyLen > 0 &&
        !kvtest::ReadExactly(fd_, packet.data() + kvproto::kHeaderSize, header.bodyLen, timeoutMs)) {
        return std::nullopt;
    }
    return packet;
}

std::optional<Bytes> CConnection::Exchange(const Bytes& request, int timeoutMs) const {
    if (!Send(request)) return std::nullopt;
    return ReadPacket(timeoutMs);
}

std::string CConnection::Control(const std::string& line, int timeoutMs) const {
    const std::string request = line + "\n";
    if (!kvtest::WriteAll(fd_, request.data(), request.size())) return "<send failed>";
    std::string answer;
    std::string current;
    for (;;) {
        char c = 0;
        if (!kvtest::ReadExactly(fd_, &c, 1, timeoutMs)) return answer + "<no answer>";
        answer += c;
        if (c != '\n') {
            current += c;
            continue;
        }
        if (current == "OK" || current.starts_with("ERR")) return answer;
        current.clear();
    }
}

}  // namespace z5rtest
