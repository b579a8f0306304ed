// The driver's parts that need no instrument: the option string, how
// settings become wire values, and the error queue's codes and texts.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "driver_options.h"
#include "error_queue.h"
#include "kvproto/value_codec.h"
#include "wire_format.h"

namespace {

using korvel::v8n::CErrorQueue;
using korvel::v8n::ParseDriverOptions;

TEST(DriverOptions, ItemsAreCommaSeparatedCaseInsensitiveAndBlanksDoNotCount) {
    const auto plain = ParseDriverOptions("");
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->generator);
    EXPECT_EQ(plain->timeoutMs, korvel::v8n::kDefaultTimeoutMs);

    for (const char* text : {"GENERATOR", "generator", " Gene rator ,", ",,GENERATOR,"}) {
        const auto options = ParseDriverOptions(text);
        ASSERT_TRUE(options) << text;
        EXPECT_TRUE(options->generator) << text;
    }
    const auto both = ParseDriverOptions("timeout = 150, Generator");
    ASSERT_TRUE(both);
    EXPECT_TRUE(both->generator);
    EXPECT_EQ(both->timeoutMs, 150u);
}

TEST(DriverOptions, UnknownItemsAndBadTimeoutsAreRefused) {
    for (const char* text : {"GENERATOR,SIMULATE", "GEN", "Timeout=", "Timeout=0", "Timeout=-5",
                             "Timeout=12ms", "Timeout=99999999999", "GENERATOR;Timeout=5"}) {
        EXPECT_FALSE(ParseDriverOptions(text)) << text;
    }
}

// A setting's wire value.
double SettingToWire(double setting, double scale, std::uint8_t flagB) {
    double wire = 0;
    korvel::v8n::SettingsToWire({&setting, 1}, scale, flagB, {&wire, 1});
    return wire;
}

// Bytes a setting travels as.
std::vector<std::uint8_t> Encoded(double setting, double scale, std::uint8_t flagB) {
    std::vector<std::uint8_t> bytes(flagB >> 4);
    kvproto::EncodeValue(SettingToWire(setting, scale, flagB), flagB, bytes.data());
    return bytes;
}

TEST(WireFormat, HugeSettingsSaturateInsteadOfWrapping) {
    // Six bytes of whole hertz hold 110 GHz exactly.
    EXPECT_EQ(SettingToWire(110e9, 1, 0x60), 110e9);
    EXPECT_EQ(Encoded(1e30, 1, 0x60),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_EQ(Encoded(-1e30, 1, 0x60), (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0x80}));
    // Hundredths of a dB in four bytes: 1e8 dBm would wrap, it clamps.
    EXPECT_EQ(Encoded(1e8, 100, 0x40), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_EQ(Encoded(-200, 100, 0x40), (std::vector<std::uint8_t>{0xE0, 0xB1, 0xFF, 0xFF}));
    // One byte: a flag of 300 stays the largest byte value, not 44.
    EXPECT_EQ(Encoded(300, 1, 0x10), (std::vector<std::uint8_t>{0x7F}));
    EXPECT_EQ(Encoded(-std::numeric_limits<double>::infinity(), 1, 0x10),
              (std::vector<std::uint8_t>{0x80}));
    // A fraction byte narrows the whole range accordingly.
    EXPECT_EQ(SettingToWire(1e6, 1, 0x21), 32767.0 / 256);
}

TEST(ErrorQueue, KeepsTheOldestEntriesInOrderWithTheirTexts) {
    CErrorQueue queue;
    EXPECT_FALSE(queue.Pop());
    queue.PushInstrumentStatus(-32740);
    queue.PushVisaStatus(static_cast<ViStatus>(0xBFFF0015u));
    EXPECT_EQ(static_cast<std::uint32_t>(*queue.Pop()), 0xFFFF801Cu);
    EXPECT_EQ(static_cast<std::uint32_t>(*queue.Pop()), 0xBFFF0015u);
    EXPECT_TRUE(queue.Empty());

    for (std::size_t i = 0; i < CErrorQueue::kCapacity + 10; ++i) {
        queue.PushInstrumentStatus(static_cast<std::int16_t>(-1 - static_cast<int>(i)));
    }
    EXPECT_EQ(*queue.Pop(), -1);
    std::size_t left = 0;
    while (queue.Pop()) ++left;
    EXPECT_EQ(left, CErrorQueue::kCapacity - 1);

    EXPECT_EQ(CErrorQueue::Message(0), "");
    EXPECT_EQ(CErrorQueue::Message(-32740), "Нет захвата синтезатора опорной частоты");
    EXPECT_EQ(CErrorQueue::Message(-1), "Неизвестная ошибка");
    EXPECT_EQ(CErrorQueue::Message(static_cast<std::int32_t>(0xBFFF0015u)), "Timeout");
    EXPECT_EQ(CErrorQueue::Message(static_cast<std::int32_t>(0xBFFF00A6u)), "Connection lost");
    EXPECT_NE(CErrorQueue::Message(static_cast<std::int32_t>(0xBFFF0035u)), "");
}

}  // namespace
