// The resource manager: the session table, opening and closing handles,
// resource searches.
//
// Any thread may call it. The table has a lock of its own, held only to look
// a handle up, enter or remove one; each session has a lock that serialises
// the calls on it. A call that finds its session closed, or being closed,
// answers VI_ERROR_INV_OBJECT; a close waits for the call in progress on that
// session to end. No lock but the session's own is held while a session waits
// for its instrument.
#pragma once

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "base_session.h"

namespace kv {

class CResMgr : public CBaseSession {
public:
    // The resource manager's own handle; never given to a session.
    static constexpr ViSession kHandle = 0x00000001;

    CResMgr() = default;
    // Closes every handle still open, the last one first.
    ~CResMgr() override;
    CResMgr(const CResMgr&) = delete;
    CResMgr& operator=(const CResMgr&) = delete;

    ViStatus FindRsrc(ViConstString expr, CSessionFindList* list, ViPFindList listOut,
                      ViPUInt32 retCnt, ViChar* desc) override;
    ViStatus ParseRsrc(ViConstRsrc name, ViPUInt16 intfType, ViPUInt16 intfNum,
                       ViChar* rsrcClass, ViChar* expandedName, ViChar* alias) override;
    ViStatus Open(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout, ViPSession vi) override;
    ViStatus Close(ViObject vi) override;

    // Runs `op` on the session behind `vi`, alone on that session; `missing`
    // when the table does not hold the handle or it is being closed.
    template <typename Op>
    ViStatus Call(ViObject vi, Op&& op, ViStatus missing = VI_ERROR_INV_OBJECT) {
        const std::shared_ptr<Slot> slot = Lookup(vi);
        if (!slot) return missing;
        std::lock_guard<std::mutex> serialised(slot->mutex);
        if (!slot->session) return missing;
        return std::forward<Op>(op)(*slot->session);
    }
    // The object behind a handle, or null when the table does not hold it.
    // Only for callers that know no other thread closes it meanwhile.
    ISession* Find(ViObject vi) const;
    // Takes ownership of `session` and gives it a fresh handle.
    ViSession Enter(std::unique_ptr<ISession> session);
    // Closes every handle, last first.
    void CloseAll();
    size_t SessionCount() const;

private:
    // A session with the lock that serialises the calls on it; empty once
    // closed. Callers keep it alive while they wait for that lock.
    struct Slot {
        std::mutex mutex;
        std::unique_ptr<ISession> session;
    };
    struct Entry {
        ViSession handle;
        std::shared_ptr<Slot> slot;
    };
    std::shared_ptr<Slot> Lookup(ViObject vi) const;
    // Both with the table's lock held.
    const Entry* FindEntry(ViObject vi) const;
    ViSession NextHandle();

    mutable std::mutex tableMutex_;
    std::vector<Entry> table_;
    ViSession lastHandle_ = 0x00010000;
};

// The one resource manager of the process.
CResMgr& ResourceManager();

}  // namespace kv
