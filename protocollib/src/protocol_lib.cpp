// The library's C entry points. Every one of them answers "unknown" for a
// null context or a context with nothing loaded, and none lets an exception
// out.
#include "protocollib/protocol_lib.h"

#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "description_file.h"
#include "protocol_description.h"

using protocollib::CNameTable;
using protocollib::CProtocolDescription;

struct ProtocolContext {
    std::shared_mutex lock;
    const CProtocolDescription* current = nullptr;  // null when the last load failed
    // Every description ever loaded, kept until the context closes, since
    // names handed out from an earlier load must stay valid after a reload.
    std::vector<std::unique_ptr<const CProtocolDescription>> loaded;
};

namespace {

// Results of ProtLoadFromFile.
constexpr int kSuccess = 0;
constexpr int kInvalidArgument = -1;
constexpr int kFileNotFound = -2;
constexpr int kFileUnreadable = -3;
constexpr int kNotADescription = -4;
constexpr int kOutOfMemory = -5;

constexpr int kUnknownCode = -1;
constexpr const char* kUnknownName = "";

// Runs a lookup on the context's current description under a shared lock;
// `fallback` when there is none or anything throws.
template <typename Result, typename Lookup>
Result WithDescription(ProtocolContext* context, Result fallback, Lookup lookup) noexcept {
    if (context == nullptr) return fallback;
    try {
        std::shared_lock guard(context->lock);
        if (context->current == nullptr) return fallback;
        return lookup(*context->current);
    } catch (...) {
        return fallback;
    }
}

int CodeOf(const CNameTable& table, const char* name) {
    if (name == nullptr) return kUnknownCode;
    const auto value = table.ValueOf(name);
    return value ? *value : kUnknownCode;
}

const char* NameOf(const CNameTable& table, int value) {
    const std::string* name = table.NameOf(value);
    return name != nullptr ? name->c_str() : kUnknownName;
}

int Load(ProtocolContext& context, const char* fileName) {
    std::unique_ptr<CProtocolDescription> description;
    int result = kSuccess;
    if (fileName == nullptr || *fileName == '\0') {
        result = kInvalidArgument;
    } else if (const auto path = protocollib::FindDescriptionFile(fileName); !path) {
        result = kFileNotFound;
    } else if (const auto content = protocollib::ReadDescriptionFile(*path); !content) {
        result = kFileUnreadable;
    } else {
        description = CProtocolDescription::Parse(content->data(), content->size());
        if (!description) result = kNotADescription;
    }

    // A failed load empties the context rather than leave it answering from
    // a file other than the one asked for.
    std::unique_lock guard(context.lock);
    context.current = nullptr;
    if (description) {
        context.loaded.push_back(std::move(description));
        context.current = context.loaded.back().get();
    }
    return result;
}

}  // namespace

extern "C" {

int OpenSession(ProtocolContext** context) {
    if (context == nullptr) return kInvalidArgument;
    *context = nullptr;
    try {
        *context = new ProtocolContext;
        return kSuccess;
    } catch (...) {
        return kOutOfMemory;
    }
}

int ProtLoadFromFile(ProtocolContext* context, const char* fileName) {
    if (context == nullptr) return kInvalidArgument;
    try {
        return Load(*context, fileName);
    } catch (...) {
        // Only allocation can throw here; whatever was held is gone or intact.
        return kOutOfMemory;
    }
}

int GetCommandID(ProtocolContext* context, const char* name) {
    return WithDescription(context, kUnknownCode, [name](const CProtocolDescription& d) {
        return CodeOf(d.Commands(), name);
    });
}

int GetParameterID(ProtocolContext* context, const char* name) {
    return WithDescription(context, kUnknownCode, [name](const CProtocolDescription& d) {
        return CodeOf(d.Parameters(), name);
    });
}

// One format per parameter: every value of it has the same, whatever the index.
int GetParameterSize(ProtocolContext* context, int parameterId, int /*index*/) {
    return WithDescription(context, 0, [parameterId](const CProtocolDescription& d) {
        return d.FormatOf(parameterId).size;
    });
}

int GetParameterFract(ProtocolContext* context, int parameterId, int /*index*/) {
    return WithDescription(context, 0, [parameterId](const CProtocolDescription& d) {
        return d.FormatOf(parameterId).fract;
    });
}

const char* GetCommandName(ProtocolContext* context, int command) {
    return WithDescription(context, kUnknownName, [command](const CProtocolDescription& d) {
        return NameOf(d.Commands(), command);
    });
}

const char* GetParameterName(ProtocolContext* context, int parameterId) {
    return WithDescription(context, kUnknownName, [parameterId](const CProtocolDescription& d) {
        return NameOf(d.Parameters(), parameterId);
    });
}

const char* GetErrorName(ProtocolContext* context, short status) {
    return WithDescription(context, kUnknownName, [status](const CProtocolDescription& d) {
        return NameOf(d.Statuses(), status);
    });
}

void CloseSession(ProtocolContext* context) { delete context; }

}  // extern "C"
