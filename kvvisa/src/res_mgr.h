// The resource manager: the session table, opening and closing handles,
// resource searches.
#pragma once

#include <memory>
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

    // The object behind a handle, or null when the table does not hold it.
    ISession* Find(ViObject vi) const;
    // Takes ownership of `session` and gives it a fresh handle.
    ViSession Enter(std::unique_ptr<ISession> session);
    // Closes every handle, last first.
    void CloseAll();
    size_t SessionCount() const { return table_.size(); }

private:
    struct Entry {
        ViSession handle;
        std::unique_ptr<ISession> session;
    };
    ViSession NextHandle();

    std::vector<Entry> table_;
    ViSession lastHandle_ = 0x00010000;
};

// The one resource manager of the process.
CResMgr& ResourceManager();

}  // namespace kv
