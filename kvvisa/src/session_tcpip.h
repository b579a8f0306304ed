// Raw byte transport over one TCP connection (TCPIPn::host::port::SOCKET),
// and network discovery of instruments by UDP broadcast.
#pragma once

#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "base_session.h"
#include "read_ahead.h"

namespace kv {

class CSessionTCPIP : public CBaseSession {
public:
    CSessionTCPIP() = default;
    ~CSessionTCPIP() override;
    CSessionTCPIP(const CSessionTCPIP&) = delete;
    CSessionTCPIP& operator=(const CSessionTCPIP&) = delete;

    // Network discovery: appends one entry per answering instrument.
    ViStatus FindRsrc(ViConstString expr, CSessionFindList* list, ViPFindList listOut,
                      ViPUInt32 retCnt, ViChar* desc) override;
    ViStatus Connect(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout) override;
    ViStatus Disconnect() override;
    ViStatus SetAttribute(ViAttr attr, ViAttrState value) override;
    ViStatus GetAttribute(ViAttr attr, void* value) override;
    // Exactly `count` bytes, or VI_ERROR_TMO with the bytes that did arrive.
    ViStatus Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    // All `count` bytes, or VI_ERROR_TMO with the bytes that did leave.
    ViStatus Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    // Drops the connection and connects again.
    ViStatus Clear() override;

private:
    // What a look at the socket without waiting tells: Dead when there is no
    // socket, the peer has closed or the socket has failed.
    enum class Liveness { Dead, Idle, Readable };
    Liveness CheckLiveness() const;
    // Reconnects a missing or dead socket; `liveness` tells the caller
    // whether data is already waiting.
    ViStatus EnsureConnected(Liveness& liveness);
    // Checks a transfer's buffer and the link (reconnecting a dead one);
    // VI_SUCCESS when the transfer can go ahead.
    ViStatus PrepareTransfer(const void* buf, ViUInt32 count, Liveness& liveness);
    ViStatus Reconnect();
    // Takes a freshly connected socket as the session's own, blocking from
    // now on; closes it and returns false when it cannot be made so.
    bool Adopt(int fd);
    // One receive for a read of `count` bytes: a small read also takes what
    // arrived after them into the read-ahead.
    ssize_t Receive(ViPBuf buf, ViUInt32 count, int flags);
    // Makes the next blocking receive give up after `left` (or a moment
    // more); false when the socket refuses the setting.
    bool LimitReceiveWait(std::chrono::nanoseconds left);

    int socket_ = -1;
    std::string host_;
    std::uint16_t port_ = 0;
    sockaddr_in peer_{};       // kept for reconnects
    std::chrono::microseconds receiveWait_{-1};  // SO_RCVTIMEO as set; negative: not set
    bool justWrote_ = false;  // the last transfer was a whole write
    CReadAhead readAhead_;
    int lastSocketError_ = 0;  // errno of the last failed connect; recorded, not reported
    ViUInt32 connectTimeoutMs_ = 1000;
    ViUInt32 readTimeoutMs_ = 100000;
    ViUInt32 writeTimeoutMs_ = 100000;
};

}  // namespace kv
