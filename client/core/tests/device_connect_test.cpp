// Opening and closing the driver session: creation, initialisation, the
// limit discovery, the serial number and what Disconnect sends.
#include "device_fixture.h"
#include "korvel/com_registry.h"

namespace coretest {
namespace {

using z5r::EPromptResult;

TEST_F(DeviceTest, ConnectOpensTheSocketResourceFetchesInterfacesAndDiscoversLimits) {
    z5r::CDevice& device = NewDevice();
    EXPECT_EQ(device.Connect("10.0.0.5", 8888), "");
    EXPECT_TRUE(device.IsConnected());

    const Log expected = {
        "Root.Initialize(\"TCPIP::10.0.0.5::8888::SOCKET\", 0, 0, \"GENERATOR\")",
        "Root.get_Initialized()",
        "Root.get_RF()",
        "Root.get_Sweep()",
        "Root.get_System()",
        "Root.get_Utility()",
        "Root.get_PulseModulation()",
        "Sweep.get_FrequencyStep()",
        "Sweep.get_PowerStep()",
        "Sweep.get_List()",
        "Sweep.get_TriggerOutput()",
        "Root.get_PulseGenerator()",
        "PulseGenerator.get_Output()",
        "PulseGenerator.get_PacketGenerator()",
        "RF.put_OutputEnabled(0)",
        "FrequencyStep.Configure(0, 110000000000, 0, 110000000000)",
        "RF.put_Level(35)",
        "RF.get_Level()",
        "RF.put_Level(-200)",
        "RF.get_Level()",
        "Sweep.put_Mode(3)",
        "FrequencyStep.get_Start()",
        "FrequencyStep.get_Stop()",
        "FrequencyStep.Configure(0, 110000000000, 0, " + LogNumber(110e9 * 1e-5) + ")",
        "FrequencyStep.get_Start()",
        "FrequencyStep.get_Stop()",
        "FrequencyStep.get_Step()",
        "PulseModulation.get_Enabled()",
        "System.get_SerialNumber()",
    };
    EXPECT_EQ(fake->log, expected);
    EXPECT_EQ(fake->factoryCalls, 1);
    EXPECT_TRUE(prompt.Shown().empty());
}

TEST_F(DeviceTest, AnAcceptingDriverGivesTheProbeValuesAsLimits) {
    z5r::CDevice& device = Connected();
    double low = 0, high = 0, points = 0;
    device.GetFreqRange(low, high, points);
    EXPECT_EQ(low, 0.0);
    EXPECT_EQ(high, 110e9);
    EXPECT_EQ(points, 100001.0);
    device.GetPowRange(low, high, points);
    EXPECT_EQ(low, -200.0);
    EXPECT_EQ(high, 35.0);
    EXPECT_EQ(points, 100001.0);
}

TEST_F(DeviceTest, AClampingDriverGivesItsOwnLimits) {
    fake->minFreq = 10e6;
    fake->maxFreq = 20e9;
    fake->minLevel = -110;
    fake->maxLevel = 15;
    fake->maxSweepPoints = 5001;
    z5r::CDevice& device = Connected();
    double low = 0, high = 0, points = 0;
    device.GetFreqRange(low, high, points);
    EXPECT_EQ(low, 10e6);
    EXPECT_EQ(high, 20e9);
    EXPECT_EQ(points, 5001.0);
    device.GetPowRange(low, high, points);
    EXPECT_EQ(low, -110.0);
    EXPECT_EQ(high, 15.0);
}

TEST_F(DeviceTest, ASecondConnectLeavesTheOpenConnectionAlone) {
    z5r::CDevice& device = Connected();
    EXPECT_EQ(device.Connect("10.0.0.6", 8888), "Подключение уже осуществлено.");
    EXPECT_TRUE(fake->log.empty());
    EXPECT_TRUE(device.IsConnected());
    EXPECT_EQ(fake->factoryCalls, 1);
}

TEST_F(DeviceTest, WithoutARegisteredDriverConnectExplainsAndOffersToEnd) {
    RevokeFakeDriver();
    z5r::CDevice& device = NewDevice();
    prompt.QueueAnswer(EPromptResult::No);
    EXPECT_EQ(device.Connect("10.0.0.5", 8888),
              "Ошибка при создании объекта класса V8N.\r\nВозможно не установлен V8NCOM драйвер.");
    EXPECT_FALSE(device.IsConnected());
    ASSERT_EQ(prompt.Shown().size(), 1u);
    const z5r::SPromptMessage& box = prompt.Shown().front();
    EXPECT_EQ(box.caption, "Ошибка");
    EXPECT_EQ(box.text, "Класс не зарегистрирован. (0x80040154)" + kQuestion);
    EXPECT_EQ(box.icon, z5r::EPromptIcon::Error);
    EXPECT_EQ(box.buttons, z5r::EPromptButtons::YesNo);
    EXPECT_EQ(terminateRequests, 0);

    // Yes asks the program to end; the connection message still comes back.
    prompt.QueueAnswer(EPromptResult::Yes);
    EXPECT_NE(NewDevice().Connect("10.0.0.5", 8888), "");
    EXPECT_EQ(terminateRequests, 1);
}

TEST_F(DeviceTest, CreationRefusingTheContextIsRetriedWithoutTheRemoteServer) {
    fake->creationResults = {korvel::E_INVALIDARG};
    z5r::CDevice& device = NewDevice();
    EXPECT_EQ(device.Connect("10.0.0.5", 8888), "");
    EXPECT_EQ(fake->factoryCalls, 2);
    EXPECT_TRUE(prompt.Shown().empty());
}

TEST_F(DeviceTest, InitialisationFailuresGiveTheirTextsAndReleaseTheDriver) {
    struct SCase {
        HRESULT initialize;
        VARIANT_BOOL answer;
        const char* text;
    };
    const SCase cases[] = {
        {korvel::KORVEL_E_UNSUPPORTED_INSTRUMENT, 0, "Неподдерживаемый тип прибора."},
        {korvel::KORVEL_E_INSTRUMENT_NOT_FOUND, 0,
         "Прибор не найден. Необходимо проверить правильность заданного адреса и состояние прибора."},
        {korvel::KORVEL_E_IO, 0, "Ошибка при подключении к прибору."},
        {korvel::S_OK, 0, "Ошибка при подключении к прибору."},  // answers "not initialised"
    };
    for (const SCase& c : cases) {
        fake->initializeResult = c.initialize;
        fake->initializedAnswer = c.answer;
        fake->log.clear();
        z5r::CDevice& device = NewDevice();
        EXPECT_EQ(device.Connect("10.0.0.5", 8888), c.text);
        EXPECT_FALSE(device.IsConnected());
        EXPECT_EQ(fake->liveObjects, 0) << c.text;
        EXPECT_EQ(fake->log.back(), "~Root");
    }
    EXPECT_TRUE(prompt.Shown().empty());
}

TEST_F(DeviceTest, AFailingInitialisedQueryShowsTheDiagnosticBoxFirst) {
    fake->failures["Root.get_Initialized"] = korvel::E_FAIL;
    z5r::CDevice& device = NewDevice();
    EXPECT_EQ(device.Connect("10.0.0.5", 8888), "Ошибка при подключении к прибору.");
    ASSERT_EQ(prompt.Shown().size(), 1u);
    EXPECT_EQ(prompt.Shown().front().text, "Неопознанная ошибка. (0x80004005)" + kQuestion);
}

TEST_F(DeviceTest, ATrailingStarMarksSecureModeAndIsRemoved) {
    fake->serialNumber = "Z5R-0007*";
    z5r::CDevice& device = Connected();
    std::string serial;
    EXPECT_EQ(device.GetSerial(serial), 0);
    EXPECT_EQ(serial, "Z5R-0007");
    EXPECT_TRUE(device.IsSecure());

    fake->serialNumber = "Z5R-0008";
    z5r::CDevice& plain = Connected();
    plain.GetSerial(serial);
    EXPECT_EQ(serial, "Z5R-0008");
    EXPECT_FALSE(plain.IsSecure());
}

TEST_F(DeviceTest, PulseModulationIsAbsentWhenTheDriverSaysSoOrHasNoInterface) {
    EXPECT_TRUE(Connected().HasPulseMod());
    fake->hasPulseModulation = false;
    EXPECT_FALSE(Connected().HasPulseMod());
    fake->hasPulseModulation = true;
    fake->missingInterfaces.insert("Root.get_PulseModulation");
    EXPECT_FALSE(Connected().HasPulseMod());
}

TEST_F(DeviceTest, DisconnectSwitchesRfOffClosesAndReleasesEverything) {
    z5r::CDevice& device = Connected();
    bool on = true;
    device.SetRf(on);
    ASSERT_TRUE(device.IsRfOn());
    fake->log.clear();
    device.Disconnect();
    const Log expected = {
        "RF.put_OutputEnabled(0)", "Root.Close()", "~Sweep", "~Utility", "~FrequencyStep",
        "~PowerStep", "~List", "~PulseGenerator", "~Output", "~RF", "~System", "~PacketGenerator",
        "~PulseModulation", "~TriggerOutput", "~Root",
    };
    EXPECT_EQ(fake->log, expected);
    EXPECT_FALSE(device.IsConnected());
    EXPECT_EQ(fake->liveObjects, 0);
    // Nothing is left to reach the closed driver.
    fake->log.clear();
    int mode = 1;
    EXPECT_EQ(device.SetSyncOutMode(mode), -1);
    EXPECT_TRUE(fake->log.empty());
    EXPECT_TRUE(prompt.Shown().empty());
}

TEST_F(DeviceTest, DisconnectAfterALostLinkSendsNoRfOff) {
    z5r::CDevice& device = Connected();
    bool on = true;
    device.SetRf(on);
    device.SetLinkLost(true);
    fake->log.clear();
    device.Disconnect();
    ASSERT_FALSE(fake->log.empty());
    EXPECT_EQ(fake->log.front(), "Root.Close()");
}

TEST_F(DeviceTest, DestructionReleasesTheLastDeclaredReferenceFirst) {
    Connected();
    device.reset();
    const Log expected = {
        "~Utility", "~System", "~TriggerOutput", "~PulseModulation", "~Output", "~PacketGenerator",
        "~PulseGenerator", "~List", "~RF", "~PowerStep", "~FrequencyStep", "~Sweep", "~Root",
    };
    EXPECT_EQ(fake->log, expected);
    EXPECT_EQ(fake->liveObjects, 0);
}

}  // namespace
}  // namespace coretest
