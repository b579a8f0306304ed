#include "session_debug.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "block_control.h"
#include "resource_name.h"
#include "shared_wait.h"

namespace kv {

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kReadWindow = std::chrono::milliseconds(100);
}  // namespace

CSessionDebug::~CSessionDebug() { Disconnect(); }

ViStatus CSessionDebug::Connect(ViConstRsrc name, ViAccessMode, ViUInt32) {
    target_ = WithoutLastToken(name, kHookToken);
    readOffset_ = 0;
    if (AttachBlock(target_)) Attach();
    return VI_SUCCESS;
}

ViStatus CSessionDebug::Disconnect() {
    if (HasBlock()) Detach();
    ReleaseBlock();
    return VI_SUCCESS;
}

void CSessionDebug::Attach() {
    Lock lock(*this);
    ++block_->attached;
    if (block_->pending > 0) {
        // The record in the block counts as new for this monitor.
        ++block_->pending;
        readerFlag_ = block_->toggle ^ 1;
    } else {
        readerFlag_ = block_->toggle;
    }
    for (int i = 0; i < kMonitorSlots; ++i) {
        if (control_->slots[i].pid == 0) {
            control_->slots[i] =
                MonitorSlot{static_cast<std::int32_t>(getpid()), readerFlag_, Ticket()};
            slot_ = i;
            break;
        }
    }
    readOffset_ = 0;
    attached_ = true;
}

bool CSessionDebug::StillRegistered() const {
    return slot_ < 0 || (control_->slots[slot_].pid == getpid() &&
                         control_->slots[slot_].ticket == Ticket());
}

void CSessionDebug::Detach() {
    if (!attached_) return;
    bool paidDebt = false;
    {
        Lock lock(*this);
        // A hook may have detached this monitor already (it stopped reading
        // for too long); it then took this monitor's count and debt away.
        if (StillRegistered()) {
            if (slot_ >= 0) readerFlag_ = control_->slots[slot_].readerFlag;
            if (block_->attached > 0) --block_->attached;
            if (block_->pending > 0 && readerFlag_ != block_->toggle) {
                --block_->pending;
                paidDebt = true;
                AdvanceCounter(control_->consumed);
            }
            if (slot_ >= 0) control_->slots[slot_] = MonitorSlot{};
        }
    }
    if (paidDebt) WakeWaiters(control_->consumed);
    slot_ = -1;
    attached_ = false;
}

void CSessionDebug::Reattach() {
    // The hook no longer counts this monitor as a holder: the block may even
    // have been retired meanwhile. Start over, missing what went by.
    attached_ = false;
    slot_ = -1;
    ReleaseBlock();
    if (AttachBlock(target_)) Attach();
}

ViStatus CSessionDebug::Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) {
    const auto deadline = Clock::now() + kReadWindow;
    ViStatus result = VI_ERROR_RSRC_BUSY;
    *retCount = 0;
    for (;;) {
        if (!HasBlock()) {
            std::this_thread::sleep_until(deadline);
            return result;
        }
        ViUInt32 copied = 0;
        bool consumedRecord = false;
        bool detached = false;
        std::uint32_t publishedSeen = 0;
        {
            Lock lock(*this);
            detached = !StillRegistered();
            if (!detached) {
                publishedSeen = LoadCounter(control_->published);
                copied = TakePiece(buf, count, result, consumedRecord);
                block_->lastDirection = block_->direction;
            }
        }
        if (detached) {
            Reattach();
            continue;
        }
        *retCount = copied;
        if (consumedRecord) WakeWaiters(control_->consumed);
        if (copied > 0) return result;
        const auto now = Clock::now();
        if (now >= deadline) return result;
        WaitWhileCounterIs(control_->published, publishedSeen, deadline - now);
    }
}

ViUInt32 CSessionDebug::TakePiece(ViPBuf buf, ViUInt32 count, ViStatus& result,
                                  bool& consumedRecord) {
    if (slot_ >= 0 && control_->slots[slot_].readerFlag != readerFlag_) {
        // A hook marked the record read for this monitor (its application had
        // ended): start afresh with the next one.
        readerFlag_ = control_->slots[slot_].readerFlag;
        readOffset_ = 0;
    }
    if (count == 0 || block_->pending == 0 || block_->toggle == readerFlag_) return 0;
    const std::uint32_t length = std::min<std::uint32_t>(block_->length, kTrafficDataSize);
    const ViUInt32 copied = std::min(count, length - std::min(readOffset_, length));
    std::memcpy(buf, block_->data + readOffset_, copied);
    if (readOffset_ == 0) recordSource_ = control_->source;
    readOffset_ += copied;
    result = VI_SUCCESS;
    if (readOffset_ >= length) {
        --block_->pending;
        readOffset_ = 0;
        readerFlag_ ^= 1;
        if (slot_ >= 0) control_->slots[slot_].readerFlag = readerFlag_;
        result = block_->status;
        AdvanceCounter(control_->consumed);
        consumedRecord = true;
    }
    return copied;
}

ViStatus CSessionDebug::GetAttribute(ViAttr attr, void* value) {
    if (attr != ATTR_HOOK_DIRECTION) return VI_ERROR_NSUP_ATTR;
    if (!HasBlock()) return VI_ERROR_RSRC_NFOUND;
    ViUInt32 direction = 0;
    {
        Lock lock(*this);
        direction = block_->lastDirection;
    }
    std::memcpy(value, &direction, sizeof direction);
    return VI_SUCCESS;
}

ViStatus CSessionDebug::SetAttribute(ViAttr, ViAttrState) { return VI_ERROR_NSUP_ATTR; }
ViStatus CSessionDebug::Write(ViConstBuf, ViUInt32, ViPUInt32) { return VI_SUCCESS; }
ViStatus CSessionDebug::Clear() { return VI_SUCCESS; }

}  // namespace kv
