#include "session_debug.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "block_control.h"
#include "resource_name.h"

namespace kv {

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kReadWindow = std::chrono::milliseconds(100);
constexpr auto kPollInterval = std::chrono::milliseconds(1);
}  // namespace

CSessionDebug::~CSessionDebug() { Disconnect(); }

ViStatus CSessionDebug::Connect(ViConstRsrc name, ViAccessMode, ViUInt32) {
    const std::string target = WithoutLastToken(name, kHookToken);
    readOffset_ = 0;
    if (AttachBlock(target)) Attach();
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
            control_->slots[i] = MonitorSlot{static_cast<std::int32_t>(getpid()), readerFlag_};
            slot_ = i;
            break;
        }
    }
    attached_ = true;
}

void CSessionDebug::Detach() {
    if (!attached_) return;
    Lock lock(*this);
    // A hook may have found this monitor's registry entry stale; it then
    // already took this monitor's count and debt away.
    const bool registered = slot_ < 0 || control_->slots[slot_].pid == getpid();
    if (registered) {
        if (slot_ >= 0) readerFlag_ = control_->slots[slot_].readerFlag;
        if (block_->attached > 0) --block_->attached;
        if (block_->pending > 0 && readerFlag_ != block_->toggle) --block_->pending;
        if (slot_ >= 0) control_->slots[slot_] = MonitorSlot{};
    }
    slot_ = -1;
    attached_ = false;
}

ViStatus CSessionDebug::Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) {
    const auto start = Clock::now();
    ViStatus result = VI_ERROR_RSRC_BUSY;
    *retCount = 0;
    if (!HasBlock()) {
        std::this_thread::sleep_for(kReadWindow);
        return result;
    }
    while (Clock::now() - start < kReadWindow) {
        ViUInt32 copied = 0;
        {
            Lock lock(*this);
            if (slot_ >= 0 && control_->slots[slot_].readerFlag != readerFlag_) {
                // A hook gave up waiting for this monitor and marked the
                // record read for it: start afresh with the next one.
                readerFlag_ = control_->slots[slot_].readerFlag;
                readOffset_ = 0;
            }
            if (count > 0 && block_->pending > 0 && block_->toggle != readerFlag_) {
                const std::uint32_t length = std::min<std::uint32_t>(block_->length, kTrafficDataSize);
                copied = std::min(count, length - std::min(readOffset_, length));
                std::memcpy(buf, block_->data + readOffset_, copied);
                readOffset_ += copied;
                result = VI_SUCCESS;
                if (readOffset_ >= length) {
                    --block_->pending;
                    readOffset_ = 0;
                    readerFlag_ ^= 1;
                    if (slot_ >= 0) control_->slots[slot_].readerFlag = readerFlag_;
                    result = block_->status;
                }
            }
            *retCount = copied;
            block_->lastDirection = block_->direction;
        }
        std::this_thread::sleep_for(kPollInterval);
        if (copied > 0) break;
    }
    return result;
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
