#include "res_mgr.h"

#include <algorithm>
#include <cstring>

#include "find_list.h"
#include "resource_name.h"
#include "session_debug.h"
#include "session_asrl.h"
#include "session_hook.h"
#include "session_tcpip.h"
#include "session_tcs.h"
#include "session_usb.h"

namespace kv {

CResMgr& ResourceManager() {
    static CResMgr manager;
    return manager;
}

CResMgr::~CResMgr() { CloseAll(); }

void CResMgr::CloseAll() {
    for (;;) {
        ViSession last = VI_NULL;
        {
            std::lock_guard<std::mutex> guard(tableMutex_);
            if (table_.empty()) return;
            last = table_.back().handle;
        }
        Close(last);
    }
}

const CResMgr::Entry* CResMgr::FindEntry(ViObject vi) const {
    for (const auto& entry : table_) {
        if (entry.handle == vi) return &entry;
    }
    return nullptr;
}

std::shared_ptr<CResMgr::Slot> CResMgr::Lookup(ViObject vi) const {
    std::lock_guard<std::mutex> guard(tableMutex_);
    const Entry* entry = FindEntry(vi);
    return entry != nullptr ? entry->slot : nullptr;
}

ISession* CResMgr::Find(ViObject vi) const {
    const std::shared_ptr<Slot> slot = Lookup(vi);
    if (!slot) return nullptr;
    std::lock_guard<std::mutex> serialised(slot->mutex);
    return slot->session.get();
}

size_t CResMgr::SessionCount() const {
    std::lock_guard<std::mutex> guard(tableMutex_);
    return table_.size();
}

ViSession CResMgr::NextHandle() {
    // Handles are not reused until the 32-bit space wraps, so a closed handle
    // stays invalid; 0 and the resource manager's own handle are never given.
    do {
        ++lastHandle_;
    } while (lastHandle_ == 0 || lastHandle_ == kHandle || FindEntry(lastHandle_) != nullptr);
    return lastHandle_;
}

ViSession CResMgr::Enter(std::unique_ptr<ISession> session) {
    auto slot = std::make_shared<Slot>();
    slot->session = std::move(session);
    std::lock_guard<std::mutex> guard(tableMutex_);
    const ViSession handle = NextHandle();
    table_.push_back({handle, std::move(slot)});
    return handle;
}

ViStatus CResMgr::Close(ViObject vi) {
    if (vi == VI_NULL) return VI_ERROR_INV_OBJECT;
    std::shared_ptr<Slot> slot;
    {
        std::lock_guard<std::mutex> guard(tableMutex_);
        const auto it = std::find_if(table_.begin(), table_.end(),
                                     [vi](const Entry& entry) { return entry.handle == vi; });
        if (it == table_.end()) return VI_ERROR_INV_OBJECT;
        slot = std::move(it->slot);
        table_.erase(it);
    }
    // Out of the table first, so no new call reaches it; then wait for the
    // call in progress. No lock is held while it is destroyed: a session may
    // close further handles (its inner session) meanwhile.
    std::unique_ptr<ISession> session;
    {
        std::lock_guard<std::mutex> serialised(slot->mutex);
        session = std::move(slot->session);
    }
    session.reset();
    return VI_SUCCESS;
}

ViStatus CResMgr::ParseRsrc(ViConstRsrc name, ViPUInt16 intfType, ViPUInt16 intfNum,
                            ViChar* rsrcClass, ViChar* expandedName, ViChar*) {
    if (name == nullptr) return VI_ERROR_INV_RSRC_NAME;
    const auto info = CheckResource(name);
    if (!info) return VI_ERROR_INV_RSRC_NAME;
    if (intfType != nullptr) *intfType = info->interfaceType;
    if (intfNum != nullptr) *intfNum = 0;
    const auto copyOut = [](ViChar* out, std::string_view text) {
        if (out == nullptr) return;
        const size_t n = std::min(text.size(), size_t{VI_FIND_BUFLEN - 1});
        std::memcpy(out, text.data(), n);
        out[n] = '\0';
    };
    copyOut(rsrcClass, info->resourceClass);
    copyOut(expandedName, name);
    return VI_SUCCESS;
}

ViStatus CResMgr::Open(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout, ViPSession vi) {
    ViUInt16 type = 0;
    const ViStatus parsed = ParseRsrc(name, &type, nullptr, nullptr, nullptr, nullptr);
    if (parsed != VI_SUCCESS) return parsed;

    const auto tokens = SplitResource(name);
    const ELayer layer = LayerOf(tokens);

    if (layer == ELayer::Hook) {
        auto monitor = std::make_unique<CSessionDebug>();
        const ViStatus status = monitor->Connect(name, mode, timeout);
        const ViSession handle = Enter(std::move(monitor));
        if (vi != nullptr) *vi = handle;
        return status;
    }

    std::unique_ptr<ISession> inner;
    switch (layer) {
        case ELayer::Tcs:
            // Opens the rest of the string itself, through this manager.
            inner = std::make_unique<CSessionTCS>(*this);
            break;
        case ELayer::Sa:
            if (type != VI_INTF_TCPIP) return VI_ERROR_INV_RSRC_NAME;
            // The measurement layer is not part of this build.
            return VI_ERROR_LIBRARY_NFOUND;
        default:
            break;
    }
    if (!inner) {
        switch (type) {
            case VI_INTF_TCPIP:
                inner = std::make_unique<CSessionTCPIP>();
                break;
            case VI_INTF_ASRL:
                inner = std::make_unique<CSessionASRL>();
                break;
            default:
                inner = std::make_unique<CSessionUSB>();
                break;
        }
    }

    auto hook = std::make_unique<CSessionHook>(std::move(inner));
    const ViStatus status = hook->Connect(name, mode, timeout);
    if (status != VI_SUCCESS) return status;
    const ViSession handle = Enter(std::move(hook));
    if (vi != nullptr) *vi = handle;
    return VI_SUCCESS;
}

ViStatus CResMgr::FindRsrc(ViConstString expr, CSessionFindList*, ViPFindList listOut,
                           ViPUInt32 retCnt, ViChar* desc) {
    if (retCnt != nullptr) *retCnt = 0;
    auto list = std::make_unique<CSessionFindList>();
    const ViStatus status = list->FindRsrc(expr, list.get(), nullptr, retCnt, desc);
    if (status != VI_SUCCESS) return status;
    if (listOut != nullptr) *listOut = Enter(std::move(list));
    return VI_SUCCESS;
}

}  // namespace kv
