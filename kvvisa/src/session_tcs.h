// The text-command layer (<resource>::TCS): each text line written becomes
// one packet on the inner session <resource>; each packet read from it comes
// back as one line of text. Over a traffic monitor (<resource>::HOOK::TCS)
// it shows another program's instrument traffic as text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base_session.h"
#include "protocol_library.h"

namespace kv {

class CResMgr;

class CSessionTCS : public CBaseSession {
public:
    // The inner session is opened and closed through `manager`; the protocol
    // library is the first of `libraryCandidates` that loads.
    explicit CSessionTCS(CResMgr& manager,
                         std::vector<std::string> libraryCandidates = DefaultProtocolLibraryCandidates());
    ~CSessionTCS() override;
    CSessionTCS(const CSessionTCS&) = delete;
    CSessionTCS& operator=(const CSessionTCS&) = delete;

    // Loads the protocol library (VI_ERROR_LIBRARY_NFOUND without it), then
    // opens `name` without its last "::TCS" as the inner session.
    ViStatus Connect(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout) override;
    // Closes the protocol context, unloads the library, closes the inner handle.
    ViStatus Disconnect() override;
    ViStatus SetAttribute(ViAttr attr, ViAttrState value) override;
    ViStatus GetAttribute(ViAttr attr, void* value) override;
    // One packet as one line ending in a zero byte. A line longer than
    // `count` is delivered over successive reads (VI_SUCCESS_MAX_CNT until
    // its last piece); a packet cut short by a time-out is finished by the
    // next read.
    ViStatus Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    // Each line ended by CR LF becomes one packet; text after the last line
    // end waits for the rest of its line.
    ViStatus Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    // Drops a partial packet and undelivered text, then clears the inner session.
    ViStatus Clear() override;
    ViStatus Flush(ViUInt16 mask) override;

private:
    // Runs `op` alone on the inner session; VI_ERROR_CONN_LOST when it is gone.
    template <typename Op>
    ViStatus OnInner(Op&& op);
    // Reads until the packet being received is complete or a read fails;
    // the status of the last inner read.
    ViStatus ReceivePacket(ISession& inner);
    // Reads into the packet up to `upTo` bytes. When the inner session is a
    // monitor and the bytes come from another program than the packet's
    // earlier ones, those are dropped and `freshSource` is set.
    ViStatus ReadInto(ISession& inner, std::uint32_t upTo, bool& freshSource);
    void DropPartialPacket();
    // The publisher of the bytes a monitor gave last; 0 for other sessions.
    static std::uint32_t SourceOfLastPiece(ISession& inner);
    ViStatus SendLine(std::string_view line);
    // The status a packet carries when nothing is wrong: a command's or an
    // answer's, by the direction the inner session reports.
    std::int16_t ExpectedStatus(ISession& inner);

    CResMgr& manager_;
    std::vector<std::string> libraryCandidates_;
    std::unique_ptr<CProtocolLibrary> protocol_;
    ViSession inner_ = VI_NULL;

    std::string pendingText_;  // written text not yet ended by a line end

    std::vector<std::uint8_t> packet_;  // packet being received: header, then the whole
    std::uint32_t received_ = 0;        // bytes of it received so far
    bool sized_ = false;                // the header was read and the packet sized
    std::uint32_t packetSource_ = 0;    // who published its first bytes (monitors only)
    std::vector<std::uint8_t> ahead_;   // bytes read past the packet, for the next ones

    std::string unread_;        // line (with its zero) not yet delivered to the caller
    std::size_t unreadAt_ = 0;  // next byte of it to deliver
};

}  // namespace kv
