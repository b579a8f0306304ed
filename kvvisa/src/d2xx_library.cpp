#include "d2xx_library.h"

#include <dlfcn.h>
#include <stdlib.h>

#include "own_folder.h"

namespace kv {

std::vector<std::string> D2xxLibraryCandidates(const std::string& chosen,
                                               const std::string& ownFolder) {
    if (!chosen.empty()) return {chosen};
    std::vector<std::string> candidates{kVendorD2xxLibrary};
    if (!ownFolder.empty()) candidates.push_back(ownFolder + "/" + kOwnD2xxLibrary);
    return candidates;
}

std::vector<std::string> DefaultD2xxLibraryCandidates() {
    const char* chosen = getenv(kD2xxLibraryVariable);
    return D2xxLibraryCandidates(chosen != nullptr ? chosen : "", OwnFolder());
}

std::unique_ptr<CD2xxLibrary> CD2xxLibrary::Load(const std::vector<std::string>& candidates) {
    for (const std::string& candidate : candidates) {
        if (void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            return std::unique_ptr<CD2xxLibrary>(new CD2xxLibrary(handle));
        }
    }
    return nullptr;
}

CD2xxLibrary::~CD2xxLibrary() { dlclose(handle_); }

void* CD2xxLibrary::Symbol(const char* name) const { return dlsym(handle_, name); }

}  // namespace kv
