#include "session_tcs.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "kvproto/packet.h"
#include "res_mgr.h"
#include "resource_name.h"
#include "session_debug.h"
#include "tcs_line.h"
#include "tcs_text.h"

namespace kv {

namespace {

constexpr const char* kDescriptionFile = "Protocol.xml";

// How long a read keeps asking a source that has nothing yet (a monitor
// answers VI_ERROR_RSRC_BUSY every 100 ms) for the rest of a packet it has
// begun. A read must come back even when the other program stops mid-packet;
// what arrived is kept for the next read.
constexpr auto kBusyPatience = std::chrono::seconds(1);

// No direction known: the inner session is not a monitor.
constexpr ViUInt32 kNoDirection = 2;
constexpr ViUInt32 kWrittenDirection = 1;

}  // namespace

CSessionTCS::CSessionTCS(CResMgr& manager, std::vector<std::string> libraryCandidates)
    : manager_(manager), libraryCandidates_(std::move(libraryCandidates)) {}

CSessionTCS::~CSessionTCS() { Disconnect(); }

ViStatus CSessionTCS::Connect(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout) {
    Disconnect();
    protocol_ = CProtocolLibrary::Load(libraryCandidates_);
    if (!protocol_) return VI_ERROR_LIBRARY_NFOUND;
    // Without a description every name is unknown and each line says so.
    protocol_->LoadDescription(kDescriptionFile);

    const std::string innerName = WithoutLastToken(name != nullptr ? name : "", kTcsToken);
    ViSession handle = VI_NULL;
    const ViStatus status = manager_.Open(innerName.c_str(), mode, timeout, &handle);
    inner_ = handle;
    return status;
}

ViStatus CSessionTCS::Disconnect() {
    protocol_.reset();
    if (inner_ != VI_NULL) {
        const ViSession handle = inner_;
        inner_ = VI_NULL;
        // Already closed by someone else (the library closing every handle,
        // last first): nothing left to do.
        manager_.Close(handle);
    }
    pendingText_.clear();
    DropPartialPacket();
    ahead_.clear();
    unread_.clear();
    unreadAt_ = 0;
    return VI_SUCCESS;
}

template <typename Op>
ViStatus CSessionTCS::OnInner(Op&& op) {
    // The inner handle may have been closed by someone else meanwhile.
    if (inner_ == VI_NULL) return VI_ERROR_CONN_LOST;
    return manager_.Call(inner_, std::forward<Op>(op), VI_ERROR_CONN_LOST);
}

ViStatus CSessionTCS::SetAttribute(ViAttr attr, ViAttrState value) {
    return OnInner([&](ISession& inner) { return inner.SetAttribute(attr, value); });
}

ViStatus CSessionTCS::GetAttribute(ViAttr attr, void* value) {
    return OnInner([&](ISession& inner) { return inner.GetAttribute(attr, value); });
}

ViStatus CSessionTCS::Flush(ViUInt16 mask) {
    return OnInner([&](ISession& inner) { return inner.Flush(mask); });
}

ViStatus CSessionTCS::Clear() {
    DropPartialPacket();
    ahead_.clear();
    unread_.clear();
    unreadAt_ = 0;
    return OnInner([](ISession& inner) { return inner.Clear(); });
}

ViStatus CSessionTCS::Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) {
    *retCount = 0;
    if (count == 0) return VI_SUCCESS;
    const auto* text = reinterpret_cast<const char*>(buf);
    std::size_t lineStart = 0;  // first byte of this write not yet sent
    for (std::size_t i = 0; i < count; ++i) {
        if (text[i] != '\n') continue;
        // The CR of a line end may have come with the previous write.
        const bool afterReturn =
            i > 0 ? text[i - 1] == '\r' : !pendingText_.empty() && pendingText_.back() == '\r';
        if (!afterReturn) continue;
        pendingText_.append(text + lineStart, i - lineStart);
        pendingText_.pop_back();  // the CR
        const ViStatus status = SendLine(pendingText_);
        pendingText_.clear();
        if (status != VI_SUCCESS) return status;
        lineStart = i + 1;
        *retCount = static_cast<ViUInt32>(lineStart);
    }
    pendingText_.append(text + lineStart, count - lineStart);
    *retCount = count;
    return VI_SUCCESS;
}

ViStatus CSessionTCS::SendLine(std::string_view line) {
    if (!protocol_) return VI_ERROR_CONN_LOST;
    std::vector<std::uint8_t> packet;
    const ViStatus translated = TranslateLine(line, *protocol_, packet);
    if (translated != VI_SUCCESS) return translated;
    // Header and body in one write, whose status is the line's: the inner
    // session writes all or fails, and a monitor takes the write without
    // doing anything, so there is nothing to repeat.
    return OnInner([&](ISession& inner) {
        ViUInt32 written = 0;
        return inner.Write(packet.data(), static_cast<ViUInt32>(packet.size()), &written);
    });
}

ViStatus CSessionTCS::Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) {
    *retCount = 0;
    if (count == 0) return VI_SUCCESS;
    if (unreadAt_ >= unread_.size()) {
        if (!protocol_) return VI_ERROR_CONN_LOST;
        std::int16_t expected = kAnswerStatus;
        const ViStatus status = OnInner([&](ISession& inner) {
            const ViStatus received = ReceivePacket(inner);
            if (!packet_.empty() && received_ == packet_.size()) expected = ExpectedStatus(inner);
            return received;
        });
        if (packet_.empty() || received_ < packet_.size()) return status;
        unread_ = PacketToText(packet_.data(), packet_.size(), expected, *protocol_);
        unread_.push_back('\0');
        unreadAt_ = 0;
        DropPartialPacket();
    }
    const std::size_t n = std::min<std::size_t>(count, unread_.size() - unreadAt_);
    std::memcpy(buf, unread_.data() + unreadAt_, n);
    unreadAt_ += n;
    *retCount = static_cast<ViUInt32>(n);
    if (unreadAt_ < unread_.size()) return VI_SUCCESS_MAX_CNT;
    unread_.clear();
    unreadAt_ = 0;
    return VI_SUCCESS;
}

void CSessionTCS::DropPartialPacket() {
    packet_.clear();
    received_ = 0;
    sized_ = false;
}

ViStatus CSessionTCS::ReceivePacket(ISession& inner) {
    if (packet_.empty()) {
        packet_.resize(kvproto::kHeaderSize);
        received_ = 0;
        sized_ = false;
    }
    for (;;) {
        const auto upTo = static_cast<std::uint32_t>(sized_ ? packet_.size() : kvproto::kHeaderSize);
        ViStatus status = VI_SUCCESS;
        if (received_ < upTo) {
            bool freshSource = false;
            status = ReadInto(inner, upTo, freshSource);
            if (freshSource) {
                // Another program's traffic: what came before belongs to no
                // packet of it, and the new bytes begin one.
                sized_ = false;
                continue;
            }
        }
        if (received_ < upTo) {
            // Cut short: what arrived is kept for the next read only when the
            // rest may still come.
            if (status != VI_ERROR_TMO && status != VI_ERROR_RSRC_BUSY) DropPartialPacket();
            return status;
        }
        if (sized_) return VI_SUCCESS;
        const kvproto::PacketHeader header = kvproto::DecodeHeader(packet_.data());
        if (header.signature != kvproto::kSignature) {
            DropPartialPacket();
            ahead_.clear();
            return VI_ERROR_RAW_RD_PROT_VIOL;
        }
        const std::size_t size = kvproto::kHeaderSize + header.bodyLen;
        if (received_ > size) {
            // Bytes of the packets after this one, from the same record.
            ahead_.insert(ahead_.begin(), packet_.begin() + static_cast<std::ptrdiff_t>(size),
                          packet_.begin() + received_);
            received_ = static_cast<std::uint32_t>(size);
        }
        packet_.resize(std::max<std::size_t>(size, received_));
        sized_ = true;
    }
}

std::uint32_t CSessionTCS::SourceOfLastPiece(ISession& inner) {
    const auto* monitor = dynamic_cast<const CSessionDebug*>(&inner);
    return monitor != nullptr ? monitor->SourceOfLastPiece() : 0;
}

ViStatus CSessionTCS::ReadInto(ISession& inner, std::uint32_t upTo, bool& freshSource) {
    if (!ahead_.empty()) {
        const std::size_t n = std::min<std::size_t>(ahead_.size(), upTo - received_);
        std::copy_n(ahead_.begin(), n, packet_.begin() + received_);
        ahead_.erase(ahead_.begin(), ahead_.begin() + static_cast<std::ptrdiff_t>(n));
        received_ += static_cast<std::uint32_t>(n);
        if (received_ == upTo) return VI_SUCCESS;
    }
    const auto giveUp = std::chrono::steady_clock::now() + kBusyPatience;
    for (;;) {
        ViUInt32 got = 0;
        const std::uint32_t before = received_;
        const ViStatus status = inner.Read(packet_.data() + received_, upTo - received_, &got);
        got = std::min<std::uint32_t>(got, upTo - received_);
        received_ += got;
        if (got > 0) {
            const std::uint32_t source = SourceOfLastPiece(inner);
            if (before == 0) {
                packetSource_ = source;
            } else if (source != packetSource_) {
                std::memmove(packet_.data(), packet_.data() + before, got);
                received_ = got;
                packetSource_ = source;
                freshSource = true;
                return status;
            }
        }
        if (received_ == upTo) return VI_SUCCESS;
        if (status == VI_ERROR_RSRC_BUSY) {
            // Nothing of a new packet: the caller hears so at once.
            if (received_ == 0 || std::chrono::steady_clock::now() >= giveUp) return status;
            continue;
        }
        if (status < VI_SUCCESS) return status;
        if (got == 0) return VI_ERROR_TMO;  // never spin on an empty success
    }
}

std::int16_t CSessionTCS::ExpectedStatus(ISession& inner) {
    ViUInt32 direction = kNoDirection;
    if (inner.GetAttribute(ATTR_HOOK_DIRECTION, &direction) != VI_SUCCESS) direction = kNoDirection;
    return direction == kWrittenDirection ? kCommandStatus : kAnswerStatus;
}

}  // namespace kv
