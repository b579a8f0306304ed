// The plugin's one export: creates the driver object.
#include "korvel/plugin.h"
#include "root_object.h"

extern "C" __attribute__((visibility("default"))) korvel::HRESULT KorvelDllGetClassObject(
    const korvel::CLSID* clsid, const korvel::IID* iid, void** object) {
    using namespace korvel;
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (clsid == nullptr || iid == nullptr) return E_POINTER;
    if (!(*clsid == CLSID_KorvelV8N)) return REGDB_E_CLASSNOTREG;
    try {
        const auto driver = ComPtr<v8n::CDriverObject>::Attach(new v8n::CDriverObject());
        return driver->QueryInterface(*iid, object);
    } catch (...) {
        return E_FAIL;
    }
}
