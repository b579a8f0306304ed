#include "protocol_library.h"

#include <dlfcn.h>

#include <type_traits>

#include "own_folder.h"

namespace kv {

namespace {

constexpr const char* kLibraryName = "libProtocolLib.so";

std::string_view TextOrEmpty(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

std::vector<std::string> DefaultProtocolLibraryCandidates() {
    std::vector<std::string> candidates;
    const std::string folder = OwnFolder();
    if (!folder.empty()) candidates.push_back(folder + "/" + kLibraryName);
    candidates.emplace_back(kLibraryName);
    return candidates;
}

bool CProtocolLibrary::LookUp(void* handle, EntryPoints& entries) {
    bool complete = true;
    const auto find = [&](auto& pointer, const char* name) {
        // dlsym hands out an object pointer; the entry point is a function.
        pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(dlsym(handle, name));
        complete = complete && pointer != nullptr;
    };
    find(entries.openSession, "OpenSession");
    find(entries.loadFromFile, "ProtLoadFromFile");
    find(entries.commandId, "GetCommandID");
    find(entries.parameterId, "GetParameterID");
    find(entries.parameterSize, "GetParameterSize");
    find(entries.parameterFract, "GetParameterFract");
    find(entries.commandName, "GetCommandName");
    find(entries.parameterName, "GetParameterName");
    find(entries.errorName, "GetErrorName");
    find(entries.closeSession, "CloseSession");
    return complete;
}

std::unique_ptr<CProtocolLibrary> CProtocolLibrary::Load(
    const std::vector<std::string>& candidates) {
    for (const std::string& candidate : candidates) {
        void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) continue;
        EntryPoints entries;
        ProtocolContext* context = nullptr;
        if (LookUp(handle, entries) && entries.openSession(&context) >= 0 && context != nullptr) {
            return std::unique_ptr<CProtocolLibrary>(
                new CProtocolLibrary(handle, entries, context));
        }
        dlclose(handle);
    }
    return nullptr;
}

CProtocolLibrary::CProtocolLibrary(void* handle, const EntryPoints& entries,
                                   ProtocolContext* context)
    : handle_(handle), entries_(entries), context_(context) {}

CProtocolLibrary::~CProtocolLibrary() {
    entries_.closeSession(context_);
    dlclose(handle_);
}

int CProtocolLibrary::LoadDescription(const char* fileName) {
    return entries_.loadFromFile(context_, fileName);
}

int CProtocolLibrary::CommandId(const std::string& name) const {
    return entries_.commandId(context_, name.c_str());
}

int CProtocolLibrary::ParameterId(const std::string& name) const {
    return entries_.parameterId(context_, name.c_str());
}

int CProtocolLibrary::ParameterSize(int parameterId) const {
    return entries_.parameterSize(context_, parameterId, 0);
}

int CProtocolLibrary::ParameterFract(int parameterId) const {
    return entries_.parameterFract(context_, parameterId, 0);
}

std::string_view CProtocolLibrary::CommandName(int command) const {
    return TextOrEmpty(entries_.commandName(context_, command));
}

std::string_view CProtocolLibrary::ParameterName(int parameterId) const {
    return TextOrEmpty(entries_.parameterName(context_, parameterId));
}

std::string_view CProtocolLibrary::ErrorName(std::int16_t status) const {
    return TextOrEmpty(entries_.errorName(context_, status));
}

}  // namespace kv
