// A driver session over the recording fake driver, answered by a scripted
// prompt.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/z5r_device.h"
#include "fake_driver.h"
#include "ui/scripted_prompt.h"

namespace coretest {

inline const std::string kQuestion = "\r\n\r\nПрервать выполнение программы?";

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override { fake = RegisterFakeDriver(); }
    void TearDown() override {
        device.reset();
        RevokeFakeDriver();
    }

    z5r::CDevice& NewDevice() {
        device = std::make_unique<z5r::CDevice>(prompt, [this] { ++terminateRequests; });
        return *device;
    }

    // Connected to 10.0.0.5 with the link marked intact, log and boxes cleared.
    z5r::CDevice& Connected() {
        NewDevice();
        const std::string result = device->Connect("10.0.0.5", 8888);
        EXPECT_EQ(result, "");
        device->SetLinkLost(false);
        fake->log.clear();
        prompt.ClearShown();
        return *device;
    }

    // The one error box of a failing operation.
    void ExpectErrorBox(const std::string& message) {
        ASSERT_EQ(prompt.Shown().size(), 1u);
        const z5r::SPromptMessage& box = prompt.Shown().front();
        EXPECT_EQ(box.caption, "Ошибка");
        EXPECT_EQ(box.text, message + kQuestion);
        EXPECT_EQ(box.icon, z5r::EPromptIcon::Error);
        EXPECT_EQ(box.buttons, z5r::EPromptButtons::YesNo);
        EXPECT_TRUE(box.flags & z5r::pfSystemModal);
        EXPECT_FALSE(box.flags & z5r::pfNoOwner);
    }

    std::shared_ptr<SFakeState> fake;
    z5r::CScriptedPrompt prompt{z5r::EPromptResult::No};
    int terminateRequests = 0;
    std::unique_ptr<z5r::CDevice> device;
};

using Log = std::vector<std::string>;

}  // namespace coretest
