// Whole packets over a session's own Read and Write, for layers that speak
// the packet protocol to the session beneath them.
#pragma once

#include <cstdint>
#include <vector>

#include "kvproto/packet_io.h"
#include "session.h"

namespace kv {

inline ViStatus SendAll(ISession& session, const std::vector<std::uint8_t>& bytes) {
    return kvproto::SendBytes(
        [&session](const std::uint8_t* data, std::uint32_t count, std::uint32_t* done) {
            return session.Write(data, count, done);
        },
        bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

inline ViStatus ReceivePacketFrom(ISession& session, std::vector<std::uint8_t>& packet) {
    return kvproto::ReceivePacket(
        [&session](std::uint8_t* data, std::uint32_t count, std::uint32_t* done) {
            ViUInt32 got = 0;
            const ViStatus status = session.Read(data, count, &got);
            *done = got;
            return status;
        },
        packet);
}

}  // namespace kv
