// Loading a driver plugin and registering the class it serves.
#include <dlfcn.h>

#include "korvel/com_registry.h"
#include "korvel/plugin.h"

namespace korvel {

bool RegisterPlugin(const std::string& path, const CLSID& clsid, std::string* error) {
    const auto fail = [error](std::string reason) {
        if (error != nullptr) *error = std::move(reason);
        return false;
    };
    // Never unloaded: objects it created may outlive any registration.
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        return fail(reason != nullptr ? reason : "cannot load " + path);
    }
    const auto entry =
        reinterpret_cast<KorvelDllGetClassObjectFn>(dlsym(library, kKorvelPluginEntry));
    if (entry == nullptr) {
        return fail(path + " does not export " + kKorvelPluginEntry);
    }
    RegisterClass(clsid, [entry, clsid](const IID& iid, void** object) {
        return entry(&clsid, &iid, object);
    });
    if (error != nullptr) error->clear();
    return true;
}

}  // namespace korvel
