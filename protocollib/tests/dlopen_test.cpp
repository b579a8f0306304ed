// The library as the text-command layer uses it: loaded by path at run time,
// every entry point looked up by name. This program does not link it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "protocollib/protocol_lib.h"
#include "test_files.h"

namespace {

struct EntryPoints {
    decltype(&OpenSession) openSession = nullptr;
    decltype(&ProtLoadFromFile) load = nullptr;
    decltype(&GetCommandID) commandId = nullptr;
    decltype(&GetParameterID) parameterId = nullptr;
    decltype(&GetParameterSize) parameterSize = nullptr;
    decltype(&GetParameterFract) parameterFract = nullptr;
    decltype(&GetCommandName) commandName = nullptr;
    decltype(&GetParameterName) parameterName = nullptr;
    decltype(&GetErrorName) errorName = nullptr;
    decltype(&CloseSession) closeSession = nullptr;
};

template <typename Function>
void Resolve(void* library, const char* name, Function& target) {
    target = reinterpret_cast<Function>(dlsym(library, name));
    EXPECT_NE(target, nullptr) << name << ": " << dlerror();
}

TEST(DynamicLoading, EveryEntryPointIsFoundByNameAndWorks) {
    void* library = dlopen(KV_PROTOCOL_LIB, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();

    EntryPoints api;
    Resolve(library, "OpenSession", api.openSession);
    Resolve(library, "ProtLoadFromFile", api.load);
    Resolve(library, "GetCommandID", api.commandId);
    Resolve(library, "GetParameterID", api.parameterId);
    Resolve(library, "GetParameterSize", api.parameterSize);
    Resolve(library, "GetParameterFract", api.parameterFract);
    Resolve(library, "GetCommandName", api.commandName);
    Resolve(library, "GetParameterName", api.parameterName);
    Resolve(library, "GetErrorName", api.errorName);
    Resolve(library, "CloseSession", api.closeSession);
    ASSERT_FALSE(HasFailure());

    {
        // As the text layer does it: the bare file name from a working
        // directory without one, so the copy beside the library is taken.
        protocollib_test::CTempDir empty;
        protocollib_test::CWorkingDirectory cwd(empty.Path());
        ProtocolContext* context = nullptr;
        ASSERT_EQ(api.openSession(&context), 0);
        EXPECT_EQ(api.load(context, "Protocol.xml"), 0);
        EXPECT_EQ(api.commandId(context, "KV_GET"), 4);
        EXPECT_EQ(api.parameterId(context, "P_MODE"), 3);
        EXPECT_GE(api.parameterSize(context, 3, 0), 0);
        EXPECT_GE(api.parameterFract(context, 3, 0), 0);
        EXPECT_STREQ(api.commandName(context, 3), "KV_SET");
        EXPECT_STREQ(api.parameterName(context, 50), "P_CLK");
        EXPECT_STREQ(api.errorName(context, -32767), "KV_UNKNOWN_COMMAND");
        api.closeSession(context);
    }
    EXPECT_EQ(dlclose(library), 0);
}

}  // namespace
