// Creating objects by class: the per-thread initialisation, the rules of
// CoCreateInstance, classes registered by tests and the driver plugin
// loaded from the application folder.
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

#include "korvel/com_registry.h"
#include "korvel/korvel_v8n.h"

namespace {

using namespace korvel;

constexpr CLSID kFakeClass{0x0BADF00D, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr IID kFakeInterface{0x0BADF00E, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};

// A counted object for the fake factories.
class CFake final : public IUnknown {
public:
    explicit CFake(int* alive) : alive_(alive) { ++*alive_; }
    HRESULT QueryInterface(const IID&, void** object) override {
        *object = this;
        AddRef();
        return S_OK;
    }
    std::uint32_t AddRef() override { return ++refs_; }
    std::uint32_t Release() override {
        const std::uint32_t left = --refs_;
        if (left == 0) delete this;
        return left;
    }

private:
    ~CFake() { --*alive_; }
    int* alive_;
    std::uint32_t refs_ = 1;
};

HRESULT Create(const CLSID& clsid, std::uint32_t context, void** object,
               const IID& iid = kFakeInterface) {
    return CoCreateInstance(clsid, nullptr, context, iid, object);
}

// Runs `body` on a thread of its own, where COM starts uninitialised.
template <typename Body>
void OnFreshThread(Body body) {
    std::thread thread(body);
    thread.join();
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Succeeded(CoInitialize(nullptr))); }
    void TearDown() override {
        RevokeClass(kFakeClass);
        CoUninitialize();
    }
    int alive_ = 0;
};

TEST_F(Registry, InitialisationIsCountedPerThread) {
    OnFreshThread([] {
        void* object = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(Create(kFakeClass, CLSCTX_INPROC_SERVER, &object), CO_E_NOTINITIALIZED);
        EXPECT_EQ(object, nullptr);
        EXPECT_EQ(CoInitialize(nullptr), S_OK);
        EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
        CoUninitialize();
        EXPECT_EQ(Create(kFakeClass, CLSCTX_INPROC_SERVER, &object), REGDB_E_CLASSNOTREG);
        CoUninitialize();
        EXPECT_EQ(Create(kFakeClass, CLSCTX_INPROC_SERVER, &object), CO_E_NOTINITIALIZED);
        CoUninitialize();  // one too many changes nothing
        EXPECT_EQ(CoInitialize(nullptr), S_OK);
        CoUninitialize();
    });
}

TEST_F(Registry, CreationRulesComeBeforeTheFactory) {
    int calls = 0;
    RegisterClass(kFakeClass, [&](const IID&, void** object) {
        ++calls;
        *object = new CFake(&alive_);
        return S_OK;
    });
    void* object = nullptr;
    EXPECT_EQ(Create(kFakeClass, CLSCTX_INPROC_SERVER, nullptr), E_POINTER);
    EXPECT_EQ(Create(kFakeClass, 0, &object), E_INVALIDARG);
    EXPECT_EQ(Create(kFakeClass, CLSCTX_INPROC_SERVER | 0x2, &object), E_INVALIDARG);
    EXPECT_EQ(Create(kFakeClass, CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER, &object),
              REGDB_E_CLASSNOTREG);
    auto* outer = new CFake(&alive_);
    EXPECT_EQ(CoCreateInstance(kFakeClass, outer, CLSCTX_INPROC_SERVER, kFakeInterface, &object),
              CLASS_E_NOAGGREGATION);
    outer->Release();
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(calls, 0);

    // The client's first choice of contexts.
    ASSERT_EQ(Create(kFakeClass, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
                     &object),
              S_OK);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(alive_, 1);
    static_cast<IUnknown*>(object)->Release();
    EXPECT_EQ(alive_, 0);
}

TEST_F(Registry, ARegistrationCanBeReplacedAndRevoked) {
    IID asked{};
    RegisterClass(kFakeClass, [](const IID&, void**) { return E_FAIL; });
    RegisterClass(kFakeClass, [&](const IID& iid, void** object) {
        asked = iid;
        *object = new CFake(&alive_);
        return S_OK;
    });
    void* object = nullptr;
    ASSERT_EQ(Create(kFakeClass, CLSCTX_INPROC_SERVER, &object), S_OK);
    EXPECT_EQ(asked, kFakeInterface);
    static_cast<IUnknown*>(object)->Release();
    EXPECT_EQ(alive_, 0);

    RevokeClass(kFakeClass);
    object = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(Create(kFakeClass, CLSCTX_INPROC_SERVER, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
}

TEST_F(Registry, AFactorysFailureReachesTheCallerWithoutAnObject) {
    RegisterClass(kFakeClass, [](const IID&, void** object) {
        *object = reinterpret_cast<void*>(0x1);  // junk left behind by a careless factory
        return E_NOINTERFACE;
    });
    void* object = nullptr;
    EXPECT_EQ(Create(kFakeClass, CLSCTX_INPROC_SERVER, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);

    RegisterClass(kFakeClass, [](const IID&, void**) -> HRESULT {
        throw std::runtime_error("factory broke");
    });
    EXPECT_EQ(Create(kFakeClass, CLSCTX_INPROC_SERVER, &object), E_FAIL);
    EXPECT_EQ(object, nullptr);
}

// ------------------------------------------------------------ the plugin

// Names the plugin's dynamic symbol table defines, read from the file.
std::vector<std::string> DefinedDynamicSymbols(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> image((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    std::vector<std::string> names;
    Elf64_Ehdr header;
    if (image.size() < sizeof header) return names;
    std::memcpy(&header, image.data(), sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) return names;
    const auto section = [&](std::size_t index) {
        Elf64_Shdr sh{};
        const std::size_t at = header.e_shoff + index * header.e_shentsize;
        if (at + sizeof sh <= image.size()) std::memcpy(&sh, image.data() + at, sizeof sh);
        return sh;
    };
    for (std::size_t i = 0; i < header.e_shnum; ++i) {
        const Elf64_Shdr symbols = section(i);
        if (symbols.sh_type != SHT_DYNSYM || symbols.sh_entsize == 0) continue;
        const Elf64_Shdr strings = section(symbols.sh_link);
        for (std::size_t k = 0; k < symbols.sh_size / symbols.sh_entsize; ++k) {
            Elf64_Sym sym;
            const std::size_t at = symbols.sh_offset + k * symbols.sh_entsize;
            if (at + sizeof sym > image.size()) break;
            std::memcpy(&sym, image.data() + at, sizeof sym);
            if (sym.st_shndx == SHN_UNDEF || sym.st_name >= strings.sh_size) continue;
            const char* name = image.data() + strings.sh_offset + sym.st_name;
            if (*name != '\0') names.emplace_back(name);
        }
    }
    return names;
}

TEST(DriverPlugin, ExportsOnlyItsEntryPoint) {
    EXPECT_EQ(DefinedDynamicSymbols(KORVEL_PLUGIN_PATH),
              std::vector<std::string>{"KorvelDllGetClassObject"});
}

TEST_F(Registry, ThePluginFromTheApplicationFolderServesTheDriverClass) {
    std::string error = "stale";
    ASSERT_TRUE(RegisterPlugin(KORVEL_APP_DIR "/libKorvelV8N.so", CLSID_KorvelV8N, &error))
        << error;
    EXPECT_EQ(error, "");

    ComPtr<IKorvelV8N> driver;
    ASSERT_EQ(Create(CLSID_KorvelV8N, CLSCTX_INPROC_SERVER, reinterpret_cast<void**>(driver.Receive()),
                     IID_IKorvelV8N),
              S_OK);
    ASSERT_TRUE(driver);
    VARIANT_BOOL initialized = 7;
    EXPECT_EQ(driver->get_Initialized(&initialized), S_OK);
    EXPECT_EQ(initialized, 0);

    IUnknown* unknown = nullptr;
    EXPECT_EQ(driver->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(static_cast<void*>(unknown), static_cast<void*>(driver.Get()));
    unknown->Release();
    void* other = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(driver->QueryInterface(IID_IKorvelV8NRF, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);

    // A class the plugin does not serve, asked under the driver's name.
    ASSERT_TRUE(RegisterPlugin(KORVEL_APP_DIR "/libKorvelV8N.so", kFakeClass, &error));
    EXPECT_EQ(Create(kFakeClass, CLSCTX_INPROC_SERVER, &other, IID_IKorvelV8N), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(other, nullptr);
}

TEST_F(Registry, WithNeitherPluginNorFakeCreationFails) {
    std::string error;
    EXPECT_FALSE(RegisterPlugin(KORVEL_APP_DIR "/no-such-plugin.so", kFakeClass, &error));
    EXPECT_NE(error, "");
    // A library that loads but is no driver plugin.
    EXPECT_FALSE(RegisterPlugin(KVVISA_LIBRARY_PATH, kFakeClass, &error));
    EXPECT_NE(error.find("KorvelDllGetClassObject"), std::string::npos) << error;

    void* object = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(Create(kFakeClass, CLSCTX_INPROC_SERVER, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
}

}  // namespace
