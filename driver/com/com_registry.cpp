// The per-process class table behind CoCreateInstance, and the per-thread
// CoInitialize count that gates it.
#include "korvel/com_registry.h"

#include <map>
#include <mutex>
#include <tuple>
#include <utility>

namespace korvel {
namespace {

constexpr std::uint32_t kKnownContexts =
    CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const {
        return std::tie(a.data1, a.data2, a.data3, a.data4) <
               std::tie(b.data1, b.data2, b.data3, b.data4);
    }
};

struct ClassTable {
    std::mutex mutex;
    std::map<CLSID, ClassFactory, GuidLess> factories;
};

ClassTable& Table() {
    static ClassTable table;
    return table;
}

thread_local unsigned initCount = 0;

}  // namespace

HRESULT CoInitialize(void*) {
    ++initCount;
    return initCount == 1 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (initCount > 0) --initCount;
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, std::uint32_t context,
                         const IID& iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (initCount == 0) return CO_E_NOTINITIALIZED;
    if (context == 0 || (context & ~kKnownContexts) != 0) return E_INVALIDARG;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    // Every class here is served in-process; a caller that excludes that
    // finds no server for it.
    if ((context & CLSCTX_INPROC_SERVER) == 0) return REGDB_E_CLASSNOTREG;

    ClassFactory factory;
    {
        ClassTable& table = Table();
        std::lock_guard lock(table.mutex);
        const auto found = table.factories.find(clsid);
        if (found == table.factories.end()) return REGDB_E_CLASSNOTREG;
        factory = found->second;  // called unlocked: it may register classes itself
    }
    try {
        const HRESULT hr = factory(iid, object);
        if (Failed(hr)) *object = nullptr;
        return hr;
    } catch (...) {
        *object = nullptr;
        return E_FAIL;
    }
}

void RegisterClass(const CLSID& clsid, ClassFactory factory) {
    ClassTable& table = Table();
    std::lock_guard lock(table.mutex);
    table.factories[clsid] = std::move(factory);
}

void RevokeClass(const CLSID& clsid) {
    ClassTable& table = Table();
    std::lock_guard lock(table.mutex);
    table.factories.erase(clsid);
}

}  // namespace korvel
