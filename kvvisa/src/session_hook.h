// Wraps every session an application opens and publishes each completed
// transfer into the shared traffic block for any monitor.
#pragma once

#include <memory>

#include "base_session.h"
#include "shared_block.h"

namespace kv {

class CSessionHook : public CBaseSession, private CSharedObject {
public:
    explicit CSessionHook(std::unique_ptr<ISession> inner);
    ~CSessionHook() override;

    ViStatus ParseRsrc(ViConstRsrc name, ViPUInt16 intfType, ViPUInt16 intfNum,
                       ViChar* rsrcClass, ViChar* expandedName, ViChar* alias) override;
    ViStatus Open(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout, ViPSession vi) override;
    // Attaches the block named after `name`, then connects the inner session.
    ViStatus Connect(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout) override;
    ViStatus Disconnect() override;
    ViStatus SetAttribute(ViAttr attr, ViAttrState value) override;
    ViStatus GetAttribute(ViAttr attr, void* value) override;
    ViStatus Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    ViStatus Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    ViStatus Clear() override;
    ViStatus Close(ViObject vi) override;
    ViStatus Flush(ViUInt16 mask) override;

    ISession& Inner() { return *inner_; }

private:
    // Waits until every attached monitor has read the previous record, then
    // makes this one current. Transfers longer than the data area go out as
    // consecutive records; only the last carries a failing status.
    void Publish(const ViByte* data, ViUInt32 count, std::uint32_t direction, ViStatus status);
    void PublishRecord(const ViByte* data, std::size_t count, std::uint32_t direction,
                       ViStatus status);
    // With the lock held: detaches monitors whose process has ended (a
    // zombie too); true if any went.
    bool DetachEndedMonitors();
    // With the lock held: detaches every monitor that still owes the record.
    void DetachOwingMonitors();
    // A record left pending by an application that has ended holds nobody
    // up and is not shown to monitors as the start of this one's traffic.
    void DropRecordOfEndedPublisher();

    std::unique_ptr<ISession> inner_;
};

}  // namespace kv
