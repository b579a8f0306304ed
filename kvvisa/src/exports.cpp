// The library's working C exports. Each one finds the object behind the
// handle and lets it do the work; no exception ever leaves the library.
#include <cstring>
#include <exception>

#include "find_list.h"
#include "kvvisa/visa.h"
#include "res_mgr.h"
#include "status_text.h"

namespace {

template <typename Body>
ViStatus Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return VI_ERROR_SYSTEM_ERROR;
    }
}

// Runs `op` on the session behind `vi`, or answers VI_ERROR_INV_OBJECT.
template <typename Op>
ViStatus OnSession(ViObject vi, Op&& op) noexcept {
    return Guarded([&]() -> ViStatus { return kv::ResourceManager().Call(vi, op); });
}

// The resource manager's operations are reached through its own handle or
// through any session handle (whose class then answers for itself). The
// manager guards itself; it is not serialised like a session, so a search on
// one thread does not hold up opening on another.
template <typename Op>
ViStatus OnRmTarget(ViSession sesn, Op&& op) noexcept {
    if (sesn == kv::CResMgr::kHandle) {
        return Guarded([&]() -> ViStatus { return op(kv::ResourceManager()); });
    }
    return OnSession(sesn, op);
}

}  // namespace

extern "C" {

KVVISA_EXPORT ViStatus viOpenDefaultRM(ViPSession vi) {
    if (vi == nullptr) return VI_ERROR_USER_BUF;
    *vi = kv::CResMgr::kHandle;
    return VI_SUCCESS;
}

// The same call under its other name: every call gives the same handle.
KVVISA_EXPORT ViStatus viGetDefaultRM(ViPSession vi) { return viOpenDefaultRM(vi); }

KVVISA_EXPORT ViStatus viFindRsrc(ViSession sesn, ViConstString expr, ViPFindList vi,
                                  ViPUInt32 retCnt, ViChar desc[]) {
    return OnRmTarget(sesn, [&](kv::ISession& target) {
        return target.FindRsrc(expr == nullptr ? "" : expr, nullptr, vi, retCnt, desc);
    });
}

KVVISA_EXPORT ViStatus viFindNext(ViFindList vi, ViChar desc[]) {
    return Guarded([&]() -> ViStatus {
        const ViStatus status =
            kv::ResourceManager().Call(vi, [&](kv::ISession& list) { return list.FindNext(desc); });
        // The list closes itself once its last entry was delivered.
        if (status == VI_ERROR_RSRC_NFOUND) return kv::ResourceManager().Close(vi);
        return status;
    });
}

KVVISA_EXPORT ViStatus viOpen(ViSession sesn, ViConstRsrc name, ViAccessMode mode,
                              ViUInt32 timeout, ViPSession vi) {
    if (vi != nullptr) *vi = VI_NULL;
    ViSession opened = VI_NULL;
    const ViStatus status = OnRmTarget(sesn, [&](kv::ISession& target) -> ViStatus {
        if (name == nullptr) return VI_ERROR_INV_RSRC_NAME;
        return target.Open(name, mode, timeout, &opened);
    });
    if (vi != nullptr) *vi = status == VI_SUCCESS ? opened : VI_NULL;
    // A handle nobody can learn would leak: close what was opened.
    if (vi == nullptr && opened != VI_NULL) viClose(opened);
    return status;
}

KVVISA_EXPORT ViStatus viClose(ViObject vi) {
    return Guarded([&]() -> ViStatus {
        if (vi == kv::CResMgr::kHandle) return VI_SUCCESS;
        return kv::ResourceManager().Close(vi);
    });
}

KVVISA_EXPORT ViStatus viSetAttribute(ViObject vi, ViAttr attrName, ViAttrState attrValue) {
    return OnSession(vi, [&](kv::ISession& s) { return s.SetAttribute(attrName, attrValue); });
}

KVVISA_EXPORT ViStatus viGetAttribute(ViObject vi, ViAttr attrName, void* attrValue) {
    return OnSession(vi, [&](kv::ISession& s) -> ViStatus {
        if (attrValue == nullptr) return VI_ERROR_USER_BUF;
        return s.GetAttribute(attrName, attrValue);
    });
}

KVVISA_EXPORT ViStatus viStatusDesc(ViObject, ViStatus status, ViChar desc[]) {
    if (desc == nullptr) return VI_ERROR_USER_BUF;
    desc[0] = '\0';
    std::strcpy(desc, kv::StatusText(status));
    return VI_SUCCESS;
}

KVVISA_EXPORT ViStatus viRead(ViSession vi, ViPBuf buf, ViUInt32 cnt, ViPUInt32 retCnt) {
    return OnSession(vi, [&](kv::ISession& s) -> ViStatus {
        ViUInt32 ignored = 0;
        if (retCnt == nullptr) retCnt = &ignored;
        if (buf == nullptr && cnt != 0) {
            *retCnt = 0;
            return VI_ERROR_USER_BUF;
        }
        return s.Read(buf, cnt, retCnt);
    });
}

KVVISA_EXPORT ViStatus viWrite(ViSession vi, ViConstBuf buf, ViUInt32 cnt, ViPUInt32 retCnt) {
    return OnSession(vi, [&](kv::ISession& s) -> ViStatus {
        ViUInt32 ignored = 0;
        if (retCnt == nullptr) retCnt = &ignored;
        if (buf == nullptr && cnt != 0) {
            *retCnt = 0;
            return VI_ERROR_USER_BUF;
        }
        return s.Write(buf, cnt, retCnt);
    });
}

KVVISA_EXPORT ViStatus viClear(ViSession vi) {
    return OnSession(vi, [](kv::ISession& s) { return s.Clear(); });
}

KVVISA_EXPORT ViStatus viFlush(ViSession vi, ViUInt16 mask) {
    return OnSession(vi, [&](kv::ISession& s) { return s.Flush(mask); });
}

KVVISA_EXPORT ViStatus viPrintf(ViSession vi, ViConstString writeFmt, ...) {
    va_list args;
    va_start(args, writeFmt);
    const ViStatus status =
        OnSession(vi, [&](kv::ISession& s) { return s.Printf(writeFmt, args); });
    va_end(args);
    return status;
}

KVVISA_EXPORT ViStatus viScanf(ViSession vi, ViConstString readFmt, ...) {
    va_list args;
    va_start(args, readFmt);
    const ViStatus status = OnSession(vi, [&](kv::ISession& s) { return s.Scanf(readFmt, args); });
    va_end(args);
    return status;
}

}  // extern "C"
