// The protocol description library, loaded by name at run time: names and
// value formats of the instruments' commands, parameters and statuses.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "protocollib/protocol_lib.h"

namespace kv {

// What the text-command layer asks about the protocol. Texts returned stay
// valid until the next call on the same object.
class IProtocolNames {
public:
    virtual ~IProtocolNames() = default;
    // Code of a command by its upper-case name; negative when unknown.
    virtual int CommandId(const std::string& name) const = 0;
    // Identifier of a parameter by its upper-case name; negative when unknown.
    virtual int ParameterId(const std::string& name) const = 0;
    // Bytes per value and fraction bytes per value; 0 when not defined.
    virtual int ParameterSize(int parameterId) const = 0;
    virtual int ParameterFract(int parameterId) const = 0;
    // Names; empty when unknown.
    virtual std::string_view CommandName(int command) const = 0;
    virtual std::string_view ParameterName(int parameterId) const = 0;
    // A status's name, possibly followed by "=" and its value.
    virtual std::string_view ErrorName(std::int16_t status) const = 0;
};

// Where the library is looked for, in order: beside the object that holds
// this code (libKvVISA.so, or the program it is linked into), then by plain
// name through the dynamic linker's search.
std::vector<std::string> DefaultProtocolLibraryCandidates();

// One loaded copy of the library with an open context of its own.
class CProtocolLibrary final : public IProtocolNames {
public:
    // The first candidate that loads and has all ten entry points, with a
    // fresh context; null when none does.
    static std::unique_ptr<CProtocolLibrary> Load(const std::vector<std::string>& candidates);
    // Closes the context, then unloads the library.
    ~CProtocolLibrary() override;
    CProtocolLibrary(const CProtocolLibrary&) = delete;
    CProtocolLibrary& operator=(const CProtocolLibrary&) = delete;

    // Reads a protocol description file into the context; the library's own
    // result (it searches the working directory, then its own folder, then
    // the program's folder).
    int LoadDescription(const char* fileName);

    int CommandId(const std::string& name) const override;
    int ParameterId(const std::string& name) const override;
    int ParameterSize(int parameterId) const override;
    int ParameterFract(int parameterId) const override;
    std::string_view CommandName(int command) const override;
    std::string_view ParameterName(int parameterId) const override;
    std::string_view ErrorName(std::int16_t status) const override;

private:
    struct EntryPoints {
        decltype(&::OpenSession) openSession = nullptr;
        decltype(&::ProtLoadFromFile) loadFromFile = nullptr;
        decltype(&::GetCommandID) commandId = nullptr;
        decltype(&::GetParameterID) parameterId = nullptr;
        decltype(&::GetParameterSize) parameterSize = nullptr;
        decltype(&::GetParameterFract) parameterFract = nullptr;
        decltype(&::GetCommandName) commandName = nullptr;
        decltype(&::GetParameterName) parameterName = nullptr;
        decltype(&::GetErrorName) errorName = nullptr;
        decltype(&::CloseSession) closeSession = nullptr;
    };
    CProtocolLibrary(void* handle, const EntryPoints& entries, ProtocolContext* context);
    static bool LookUp(void* handle, EntryPoints& entries);

    void* handle_;
    EntryPoints entries_;
    ProtocolContext* context_;
};

}  // namespace kv
