// The simulator's sockets on one thread: the instrument port (one client
// served at a time, the next when it closes), the discovery port and the
// control channel on 127.0.0.1.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "control_channel.h"
#include "instrument_state.h"
#include "line_splitter.h"
#include "options.h"
#include "packet_framer.h"
#include "request_handler.h"
#include "server_status.h"
#include "socket_util.h"

namespace z5rsim {

class CServer {
public:
    using LogFunction = std::function<void(std::string_view)>;
    // Another instrument behind the same sockets: its answer to a request
    // (empty: none), and its own control commands (nothing: not one of them).
    using Answerer = std::function<std::vector<std::uint8_t>(std::span<const std::uint8_t>, std::string*)>;
    using ControlExtension = std::function<std::optional<SControlReply>(std::string_view)>;

    // `log` receives one line per request and control command; empty: quiet.
    CServer(SOptions options, CInstrumentState& state, LogFunction log);

    // Binds every socket; false with a message when one cannot be bound.
    bool Bind(std::string* error);
    std::uint16_t InstrumentPort() const { return LocalPort(listener_.Get()); }
    std::uint16_t DiscoveryPort() const { return LocalPort(discovery_.Get()); }
    std::uint16_t ControlPort() const { return LocalPort(controlListener_.Get()); }

    void SetPersonality(Answerer answerer, ControlExtension control);

    // Serves until the control command quit or until `stopFd` is readable.
    void Run(int stopFd);

private:
    struct SClient {
        CFd fd;
        CPacketFramer framer;
        std::string output;
    };
    struct SControlClient {
        CFd fd;
        CLineSplitter lines;
        std::string output;
    };

    void AcceptInstrumentClients();
    void ServeActiveClient(short events);
    void AnswerRequests(SClient& client);
    void CloseActiveClient();
    void DropClients();
    void AnswerDiscovery();
    void AcceptControlClients();
    // False when the control client is gone.
    bool ServeControlClient(SControlClient& client, short events);
    void FlushControlOutput();
    void Log(std::string_view line) const;

    SOptions options_;
    CInstrumentState& state_;
    CRequestHandler handler_;
    Answerer answerer_;
    ControlExtension controlExtension_;
    LogFunction log_;
    SServerStatus status_;
    bool running_ = true;

    CFd listener_;
    CFd discovery_;
    CFd controlListener_;
    std::deque<SClient> clients_;  // the front one is served, the others wait
    std::vector<std::unique_ptr<SControlClient>> controls_;
};

}  // namespace z5rsim
