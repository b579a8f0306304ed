// A scripted instrument speaking whole packets, for faults the simulated
// instrument never makes: each request is decoded and handed to a
// responder, whose bytes (possibly none, possibly broken) go back.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "kvproto/packet.h"
#include "support/scripted_peer.h"

namespace drvtest {

using Bytes = std::vector<std::uint8_t>;

struct SRequest {
    kvproto::PacketHeader header;
    std::uint16_t param = 0;
    std::vector<double> values;  // decoded with the request's own format
    Bytes bytes;                 // the whole packet as received
};

// The answer to send, empty for none; nothing at all ends the connection.
using Responder = std::function<std::optional<Bytes>(const SRequest&)>;

// A parameter answer: [param, values...] in `flagB`.
Bytes ParameterAnswer(std::uint16_t command, std::int16_t status, std::uint16_t param,
                      const std::vector<double>& values, std::uint8_t flagB);
// An answer of the request's command and parameter with `values`, in the
// parameter's own format.
Bytes AnswerTo(const SRequest& request, std::int16_t status, const std::vector<double>& values);

// A well-behaved synthesizer in a few lines: identifies as one, echoes sets,
// answers gets with the field index and `value`.
std::optional<Bytes> PlainSynthesizer(const SRequest& request, double value = 0);

// Runs a ScriptedPeer whose every connection is served by `responder`,
// recording the requests.
class CPacketPeer {
public:
    explicit CPacketPeer(Responder responder);

    std::string Resource() const { return peer_.Resource(); }
    kvtest::ScriptedPeer& Peer() { return peer_; }
    std::vector<SRequest> Requests() const;
    int Connections() const { return peer_.Accepted(); }

private:
    void Serve(int fd);

    Responder responder_;
    mutable std::mutex mutex_;
    std::vector<SRequest> requests_;
    kvtest::ScriptedPeer peer_;
};

}  // namespace drvtest
