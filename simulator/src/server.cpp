#include "server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "control_channel.h"
#include "discovery_reply.h"

namespace z5rsim {
namespace {

// Connections beyond these wait in the kernel's backlog.
constexpr std::size_t kMaxInstrumentClients = 16;
constexpr std::size_t kMaxControlClients = 16;
// A peer that sends without reading its answers is not read any further
// until they have gone out.
constexpr std::size_t kMaxPendingOutput = 1 << 20;
constexpr std::size_t kMaxControlLine = 4096;
// Datagrams taken per wake-up, so a flood cannot starve the other sockets.
constexpr int kDatagramsPerWakeUp = 64;

// Sends what the socket takes now; false when the connection failed.
bool SendPending(int fd, std::string& output) {
    while (!output.empty()) {
        const ssize_t sent = send(fd, output.data(), output.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        output.erase(0, static_cast<std::size_t>(sent));
    }
    return true;
}

enum class EReceive { Data, Closed, Nothing };

EReceive Receive(int fd, char* buffer, std::size_t size, std::size_t* received) {
    const ssize_t count = recv(fd, buffer, size, MSG_DONTWAIT);
    if (count > 0) {
        *received = static_cast<std::size_t>(count);
        return EReceive::Data;
    }
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return EReceive::Nothing;
    return EReceive::Closed;
}

std::string LastLine(std::string_view text) {
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    const std::size_t start = text.rfind('\n');
    return std::string(start == std::string_view::npos ? text : text.substr(start + 1));
}

}  // namespace

CServer::CServer(SOptions options, CInstrumentState& state, LogFunction log)
    : options_(std::move(options)), state_(state), handler_(state), log_(std::move(log)) {}

void CServer::SetPersonality(Answerer answerer, ControlExtension control) {
    answerer_ = std::move(answerer);
    controlExtension_ = std::move(control);
}

bool CServer::Bind(std::string* error) {
    listener_ = ListenTcp(options_.address, options_.port, error);
    if (!listener_.Valid()) return false;
    discovery_ = BindUdp(options_.address, options_.discoveryPort, error);
    if (!discovery_.Valid()) return false;
    controlListener_ = ListenTcp("127.0.0.1", options_.controlPort, error);
    return controlListener_.Valid();
}

void CServer::Run(int stopFd) {
    while (running_) {
        std::vector<pollfd> fds;
        fds.push_back({stopFd, POLLIN, 0});
        fds.push_back({listener_.Get(), static_cast<short>(clients_.size() < kMaxInstrumentClients ? POLLIN : 0), 0});
        fds.push_back({discovery_.Get(), POLLIN, 0});
        fds.push_back({controlListener_.Get(), static_cast<short>(controls_.size() < kMaxControlClients ? POLLIN : 0), 0});
        const std::size_t firstControl = fds.size();
        for (const auto& control : controls_) {
            short events = control->output.size() < kMaxPendingOutput ? POLLIN : 0;
            if (!control->output.empty()) events |= POLLOUT;
            fds.push_back({control->fd.Get(), events, 0});
        }
        const std::size_t active = fds.size();
        if (!clients_.empty()) {
            const SClient& client = clients_.front();
            short events = client.output.size() < kMaxPendingOutput ? POLLIN : 0;
            if (!client.output.empty()) events |= POLLOUT;
            fds.push_back({client.fd.Get(), events, 0});
        }

        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[0].revents != 0) break;

        // Control commands first: they may drop the instrument clients.
        std::size_t kept = 0;
        for (std::size_t i = 0; i < controls_.size(); ++i) {
            const short events = fds[firstControl + i].revents;
            if (events == 0 || ServeControlClient(*controls_[i], events)) controls_[kept++] = std::move(controls_[i]);
        }
        controls_.resize(kept);
        if (active < fds.size() && fds[active].revents != 0 && !clients_.empty() &&
            clients_.front().fd.Get() == fds[active].fd) {
            ServeActiveClient(fds[active].revents);
        }
        if ((fds[1].revents & POLLIN) != 0) AcceptInstrumentClients();
        if ((fds[2].revents & POLLIN) != 0) AnswerDiscovery();
        if ((fds[3].revents & POLLIN) != 0) AcceptControlClients();
    }
    FlushControlOutput();
}

void CServer::AcceptInstrumentClients() {
    while (clients_.size() < kMaxInstrumentClients) {
        CFd fd = AcceptClient(listener_.Get());
        if (!fd.Valid()) return;
        clients_.push_back(SClient{std::move(fd), {}, {}});
        if (clients_.size() == 1) {
            ++status_.connections;
            Log("instrument client connected");
        } else {
            Log("instrument client waiting for the one being served");
        }
    }
}

void CServer::ServeActiveClient(short events) {
    SClient& client = clients_.front();
    if ((events & POLLOUT) != 0 && !SendPending(client.fd.Get(), client.output)) return CloseActiveClient();
    if ((events & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) == 0) return;
    char buffer[65536];
    std::size_t received = 0;
    switch (Receive(client.fd.Get(), buffer, sizeof buffer, &received)) {
    case EReceive::Nothing: return;
    case EReceive::Closed:
        SendPending(client.fd.Get(), client.output);  // the peer may only have stopped writing
        return CloseActiveClient();
    case EReceive::Data: break;
    }
    client.framer.Append(std::span(reinterpret_cast<const std::uint8_t*>(buffer), received));
    AnswerRequests(client);
}

void CServer::AnswerRequests(SClient& client) {
    std::vector<std::uint8_t> packet;
    for (;;) {
        switch (client.framer.Next(packet)) {
        case CPacketFramer::EResult::NeedMore:
            if (!SendPending(client.fd.Get(), client.output)) CloseActiveClient();
            return;
        case CPacketFramer::EResult::BadSignature:
            // Nothing after this point can be told apart; answers already
            // made still go out if the socket takes them.
            Log("packet without signature: connection dropped");
            SendPending(client.fd.Get(), client.output);
            return CloseActiveClient();
        case CPacketFramer::EResult::Packet: break;
        }
        if (status_.muted) {
            Log("muted: request left unanswered");
            continue;
        }
        std::string line;
        const std::vector<std::uint8_t> answer =
            answerer_ ? answerer_(packet, log_ ? &line : nullptr) : handler_.Handle(packet, log_ ? &line : nullptr);
        client.output.append(answer.begin(), answer.end());
        ++status_.requests;
        Log(line);
    }
}

void CServer::CloseActiveClient() {
    clients_.pop_front();
    Log("instrument client disconnected");
    if (!clients_.empty()) {
        ++status_.connections;
        Log("serving the next instrument client");
    }
}

void CServer::DropClients() {
    if (!clients_.empty()) Log("dropping every instrument connection");
    clients_.clear();
}

void CServer::AnswerDiscovery() {
    for (int i = 0; i < kDatagramsPerWakeUp; ++i) {
        char payload[2048];
        sockaddr_in source{};
        iovec io{payload, sizeof payload};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
        msghdr message{};
        message.msg_name = &source;
        message.msg_namelen = sizeof source;
        message.msg_iov = &io;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t received = recvmsg(discovery_.Get(), &message, MSG_DONTWAIT);
        if (received < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if ((message.msg_flags & MSG_TRUNC) != 0 ||
            !IsDiscoveryRequest(std::span<const char>(payload, static_cast<std::size_t>(received)))) {
            continue;
        }
        // The address the request reached us on is the one to be found at.
        std::string local = options_.address;
        if (local == "0.0.0.0") {
            for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
                if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_PKTINFO) continue;
                in_pktinfo info{};
                std::memcpy(&info, CMSG_DATA(c), sizeof info);
                char text[INET_ADDRSTRLEN] = {};
                if (inet_ntop(AF_INET, &info.ipi_spec_dst, text, sizeof text) != nullptr) local = text;
            }
        }
        const std::string reply = DiscoveryReply(local, InstrumentPort(), state_.Identity());
        sendto(discovery_.Get(), reply.data(), reply.size(), MSG_DONTWAIT,
               reinterpret_cast<const sockaddr*>(&source), sizeof source);
        Log("discovery request answered from " + local);
    }
}

void CServer::AcceptControlClients() {
    while (controls_.size() < kMaxControlClients) {
        CFd fd = AcceptClient(controlListener_.Get());
        if (!fd.Valid()) return;
        controls_.push_back(std::make_unique<SControlClient>(
            SControlClient{std::move(fd), CLineSplitter(kMaxControlLine), {}}));
    }
}

bool CServer::ServeControlClient(SControlClient& client, short events) {
    if ((events & POLLOUT) != 0 && !SendPending(client.fd.Get(), client.output)) return false;
    if ((events & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) == 0) return true;
    char buffer[4096];
    std::size_t received = 0;
    switch (Receive(client.fd.Get(), buffer, sizeof buffer, &received)) {
    case EReceive::Nothing: return true;
    case EReceive::Closed: SendPending(client.fd.Get(), client.output); return false;
    case EReceive::Data: break;
    }
    client.lines.Append(std::span<const char>(buffer, received));
    while (running_) {
        const auto line = client.lines.Next();
        if (!line) break;
        if (line->overlong) {
            client.output += "ERR line too long\n";
            continue;
        }
        std::optional<SControlReply> own = controlExtension_ ? controlExtension_(line->text) : std::nullopt;
        const SControlReply reply = own ? std::move(*own) : HandleControlLine(line->text, state_, status_);
        client.output += reply.text;
        Log("control: " + line->text + " -> " + LastLine(reply.text));
        if (reply.action == EControlAction::DropClients) DropClients();
        if (reply.action == EControlAction::Quit) running_ = false;
    }
    return SendPending(client.fd.Get(), client.output);
}

void CServer::FlushControlOutput() {
    for (const auto& control : controls_) SendPending(control->fd.Get(), control->output);
}

void CServer::Log(std::string_view line) const {
    if (log_) log_(line);
}

}  // namespace z5rsim
