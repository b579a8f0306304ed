#include "session_hook.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "block_control.h"
#include "process_state.h"
#include "report.h"
#include "shared_wait.h"

namespace kv {

namespace {
using Clock = std::chrono::steady_clock;

// How long a publish waits for monitors that stop reading (stopped, or too
// slow) before it detaches them: the application must never be held up for
// ever by a monitor that hangs, nor once for every record.
constexpr auto kStalledMonitorLimit = std::chrono::seconds(5);
// How often a waiting publish looks for monitors whose process has ended;
// between looks it sleeps until a monitor reads.
constexpr auto kDeadMonitorCheck = std::chrono::milliseconds(10);
}  // namespace

CSessionHook::CSessionHook(std::unique_ptr<ISession> inner) : inner_(std::move(inner)) {}

CSessionHook::~CSessionHook() {
    // Drop the link before the block goes, as the inner session's owner.
    inner_.reset();
}

ViStatus CSessionHook::Connect(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout) {
    // Without a block the session works, unpublished.
    if (AttachBlock(name)) DropRecordOfEndedPublisher();
    return inner_->Connect(name, mode, timeout);
}

ViStatus CSessionHook::Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) {
    *retCount = 0;
    const ViStatus status = inner_->Read(buf, count, retCount);
    if (count != 0) Publish(buf, std::min(*retCount, count), 0, status);
    return status;
}

ViStatus CSessionHook::Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) {
    const ViStatus status = inner_->Write(buf, count, retCount);
    if (count != 0) Publish(buf, count, 1, status);
    return status;
}

void CSessionHook::Publish(const ViByte* data, ViUInt32 count, std::uint32_t direction,
                           ViStatus status) {
    if (!HasBlock()) return;
    // A transfer longer than the data area goes out as consecutive records;
    // the transfer's status travels with the last of them.
    std::size_t offset = 0;
    do {
        const std::size_t chunk = std::min<std::size_t>(count - offset, kTrafficDataSize);
        const bool last = offset + chunk >= count;
        PublishRecord(data + offset, chunk, direction, last ? status : VI_SUCCESS);
        offset += chunk;
    } while (offset < count && HasBlock());
}

void CSessionHook::PublishRecord(const ViByte* data, std::size_t count, std::uint32_t direction,
                                 ViStatus status) {
    auto lastProgress = Clock::now();
    auto lastDeadCheck = lastProgress;
    std::uint32_t lastPending = 0;
    bool first = true;
    bool monitorsAttached = false;
    for (;;) {
        std::uint32_t consumedSeen = 0;
        {
            Lock lock(*this, kHolderPatience);
            if (!lock.Held()) {
                ReportProblem("a traffic monitor keeps the traffic block; the application goes on without it");
                AbandonBlock();
                return;
            }
            if (block_->pending == 0) {
                // Only attached monitors wait for records: without them the
                // wake-up would be a system call for nobody.
                monitorsAttached = block_->attached != 0;
                if (count != 0) std::memcpy(block_->data, data, count);
                block_->length = static_cast<std::uint32_t>(count);
                block_->pending = block_->attached;
                block_->toggle ^= 1;
                block_->direction = direction;
                block_->status = status;
                control_->source = Ticket();
                control_->publisherPid = CurrentProcessId();
                AdvanceCounter(control_->published);
                break;
            }
            consumedSeen = LoadCounter(control_->consumed);
            const auto now = Clock::now();
            if (first || block_->pending != lastPending) {
                lastPending = block_->pending;
                lastProgress = now;
                first = false;
            }
            if (now - lastDeadCheck >= kDeadMonitorCheck) {
                lastDeadCheck = now;
                if (DetachEndedMonitors()) continue;
            }
            if (now - lastProgress >= kStalledMonitorLimit) {
                DetachOwingMonitors();
                ReportProblem("a traffic monitor stopped reading and was detached");
                continue;
            }
        }
        WaitWhileCounterIs(control_->consumed, consumedSeen, kDeadMonitorCheck);
    }
    if (monitorsAttached) WakeWaiters(control_->published);
}

bool CSessionHook::DetachEndedMonitors() {
    bool detached = false;
    for (auto& slot : control_->slots) {
        if (slot.pid == 0 || !ProcessEnded(slot.pid)) continue;
        DetachMonitor(slot);
        detached = true;
    }
    return detached;
}

void CSessionHook::DetachOwingMonitors() {
    for (auto& slot : control_->slots) {
        if (slot.pid != 0 && slot.readerFlag != block_->toggle) DetachMonitor(slot);
    }
    // Monitors the registry had no room for cannot be told apart: the record
    // is dropped for them instead.
    block_->pending = 0;
}

void CSessionHook::DropRecordOfEndedPublisher() {
    {
        Lock lock(*this);
        if (block_->pending == 0 || !ProcessEnded(control_->publisherPid)) return;
        // Nobody waits for the monitors to take it: they start with this
        // application's first record instead. Their registry entries say
        // they have read it, which is how each learns to drop what it has.
        for (auto& slot : control_->slots) {
            if (slot.pid != 0) slot.readerFlag = block_->toggle;
        }
        block_->pending = 0;
        AdvanceCounter(control_->consumed);
    }
    WakeWaiters(control_->consumed);
}

ViStatus CSessionHook::ParseRsrc(ViConstRsrc name, ViPUInt16 intfType, ViPUInt16 intfNum,
                                 ViChar* rsrcClass, ViChar* expandedName, ViChar* alias) {
    return inner_->ParseRsrc(name, intfType, intfNum, rsrcClass, expandedName, alias);
}
ViStatus CSessionHook::Open(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout,
                            ViPSession vi) {
    return inner_->Open(name, mode, timeout, vi);
}
ViStatus CSessionHook::Disconnect() { return inner_->Disconnect(); }
ViStatus CSessionHook::SetAttribute(ViAttr attr, ViAttrState value) {
    return inner_->SetAttribute(attr, value);
}
ViStatus CSessionHook::GetAttribute(ViAttr attr, void* value) {
    return inner_->GetAttribute(attr, value);
}
ViStatus CSessionHook::Clear() { return inner_->Clear(); }
ViStatus CSessionHook::Close(ViObject vi) { return inner_->Close(vi); }
ViStatus CSessionHook::Flush(ViUInt16 mask) { return inner_->Flush(mask); }

}  // namespace kv
