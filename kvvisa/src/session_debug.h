// The traffic monitor: opened with "<resource>::HOOK", it reads, in order,
// every transfer another process's hook publishes for <resource>.
#pragma once

#include <cstdint>
#include <string>

#include "base_session.h"
#include "shared_block.h"

namespace kv {

class CSessionDebug : public CBaseSession, private CSharedObject {
public:
    CSessionDebug() = default;
    ~CSessionDebug() override;

    // Attaches to the block of the name without its last "::HOOK"; the
    // application need not be running yet. Always VI_SUCCESS.
    ViStatus Connect(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout) override;
    ViStatus Disconnect() override;
    ViStatus SetAttribute(ViAttr attr, ViAttrState value) override;
    // ATTR_HOOK_DIRECTION: direction of the record last seen.
    ViStatus GetAttribute(ViAttr attr, void* value) override;
    // Up to `count` bytes of the current record within 100 ms; a record longer
    // than `count` comes in pieces, the last carrying the transfer's status.
    // Nothing published: VI_ERROR_RSRC_BUSY.
    ViStatus Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    ViStatus Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    ViStatus Clear() override;

    // Who published the record the last piece came from: a hook's ticket,
    // different for every application (and every session) that attaches.
    std::uint32_t SourceOfLastPiece() const { return recordSource_; }

private:
    void Attach();
    void Detach();
    // Attaches again after a hook detached this monitor.
    void Reattach();
    // With the lock held: false once a hook has detached this monitor.
    bool StillRegistered() const;
    // With the lock held: copies what is new of the current record.
    ViUInt32 TakePiece(ViPBuf buf, ViUInt32 count, ViStatus& result, bool& consumedRecord);

    std::string target_;  // the resource whose block this monitor watches
    std::uint32_t recordSource_ = 0;
    std::uint32_t readOffset_ = 0;
    std::uint8_t readerFlag_ = 0;  // toggle value of the record consumed last
    int slot_ = -1;                // this monitor's place in the registry, if any
    bool attached_ = false;
};

}  // namespace kv
