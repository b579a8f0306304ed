// Unloading the library closes every handle an application left open: the
// instrument sees its connection end and the traffic block is removed.
#include <dlfcn.h>

#include <string>

#include <gtest/gtest.h>

#include "kvvisa/visa.h"
#include "shared_block.h"
#include "support/scripted_peer.h"

namespace {

bool ShmEntryExists(const std::string& name) {
    return access(("/dev/shm" + name).c_str(), F_OK) == 0;
}

TEST(LibraryLifetime, UnloadClosesEveryHandleLeftOpen) {
    std::atomic<bool> closed{false};
    kvtest::ScriptedPeer instrument([&](int fd) { closed = kvtest::WaitForClose(fd, 20000); });
    const std::string resource = instrument.Resource();

    void* library = dlopen(KVVISA_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto openRm = reinterpret_cast<decltype(&viOpenDefaultRM)>(dlsym(library, "viOpenDefaultRM"));
    auto open = reinterpret_cast<decltype(&viOpen)>(dlsym(library, "viOpen"));
    ASSERT_NE(openRm, nullptr);
    ASSERT_NE(open, nullptr);

    ViSession rm = 0, session = 0, monitor = 0;
    ASSERT_EQ(openRm(&rm), VI_SUCCESS);
    ASSERT_EQ(open(rm, resource.c_str(), VI_NULL, 2000, &session), VI_SUCCESS);
    ASSERT_EQ(open(rm, (resource + "::HOOK").c_str(), VI_NULL, 0, &monitor), VI_SUCCESS);
    const std::string blockName = kv::SharedObjectName(resource, "_Map");
    EXPECT_TRUE(ShmEntryExists(blockName));

    ASSERT_EQ(dlclose(library), 0);
    ASSERT_TRUE(instrument.WaitFinished(1, 20000));
    EXPECT_TRUE(closed.load());
    EXPECT_FALSE(ShmEntryExists(blockName));
}

}  // namespace
