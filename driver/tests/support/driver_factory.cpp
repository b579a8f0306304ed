#include "support/driver_factory.h"

#include <gtest/gtest.h>

#include <mutex>

namespace drvtest {

korvel::ComPtr<korvel::IKorvelV8N> CreateDriver() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        std::string error;
        EXPECT_TRUE(korvel::RegisterPlugin(KORVEL_PLUGIN_PATH, korvel::CLSID_KorvelV8N, &error))
            << error;
    });
    korvel::CoInitialize(nullptr);  // counted per thread; never undone in a test program
    korvel::ComPtr<korvel::IKorvelV8N> driver;
    const korvel::HRESULT hr = korvel::CoCreateInstance(
        korvel::CLSID_KorvelV8N, nullptr, korvel::CLSCTX_INPROC_SERVER, korvel::IID_IKorvelV8N,
        reinterpret_cast<void**>(driver.Receive()));
    EXPECT_EQ(hr, korvel::S_OK);
    return driver;
}

}  // namespace drvtest
