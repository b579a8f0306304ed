// What a failing driver call shows, and the operator's choice between going
// on and ending the program.
#include <functional>

#include "device_fixture.h"

namespace coretest {
namespace {

using z5r::CDevice;
using z5r::EPromptResult;

struct SFailureCase {
    const char* name;
    const char* failingCall;
    const char* message;  // empty: the operation stays silent
    std::function<void(SFakeState&)> prepare;
    std::function<HRESULT(CDevice&)> run;
};

HRESULT FixFreqPow(CDevice& d) {
    double f = 1e9, l = 0;
    return d.SetFixFreqPow(f, l);
}
HRESULT FreqIn(CDevice& d, int mode) {
    d.SetSweepMode(mode);
    double a = 1e9, b = 2e9;
    return d.SetFreq(a, b, 10);
}
HRESULT PowIn(CDevice& d, int mode) {
    d.SetSweepMode(mode);
    double a = -10, b = 0;
    return d.SetPow(a, b, 10);
}
HRESULT Lists(CDevice& d) {
    std::vector<double> f{1e9}, l{0};
    return d.SetLists(f, l);
}
HRESULT Dwell(CDevice& d) {
    double v = 0.1;
    return d.SetDwell(v);
}
HRESULT SinglePoint(CDevice& d) {
    int v = 1;
    return d.SetSinglePoint(v);
}
template <HRESULT (CDevice::*Op)(bool&)>
HRESULT Flag(CDevice& d) {
    bool v = true;
    return (d.*Op)(v);
}
HRESULT SyncTime(CDevice& d) {
    double v = 1e-6;
    return d.SetSyncOutTime(v);
}
HRESULT SyncMode(CDevice& d) {
    int v = 2;
    return d.SetSyncOutMode(v);
}
HRESULT Strategy(CDevice& d) {
    int v = 2;
    return d.SetAttStrategy(v);
}
HRESULT Phase(CDevice& d) {
    std::int32_t v = 90;
    return d.SetPhase(v);
}
HRESULT RefFreq(CDevice& d) {
    double v = 10e6;
    return d.SetExtRefFreq(v);
}
HRESULT Periodic(CDevice& d) {
    double w = 1e-6, p = 2e-6, q = 2;
    return d.SetPeriodicPulse(w, p, q);
}
HRESULT Packet(CDevice& d) {
    std::vector<z5r::SPulse> pulses(2);
    double period = 1e-4;
    return d.LoadPacket(pulses, period);
}
void PulseModOn(SFakeState& s) { s.pulseModEnabled = 1; }

const SFailureCase kCases[] = {
    {"FixFreqPow", "RF.Configure", "Ошибка установки фиксированной частоты и мощности", {}, FixFreqPow},
    {"SweepMode", "Sweep.put_Mode", "Ошибка установки режима сканирования", {},
     [](CDevice& d) { return d.SetSweepMode(z5r::omPowerSweep); }},
    {"TriggerSource", "Sweep.put_TriggerSource", "Ошибка установки режима запуска", {},
     [](CDevice& d) { return d.SetTriggerSource(1); }},
    {"FixedFrequency", "RF.put_Frequency", "Ошибка установки фиксированной частоты", {},
     [](CDevice& d) { return FreqIn(d, z5r::omFixed); }},
    {"FrequencyRange", "FrequencyStep.Configure", "Ошибка установки диапазона частот", {},
     [](CDevice& d) { return FreqIn(d, z5r::omFrequencySweep); }},
    {"FixedLevel", "RF.put_Level", "Ошибка установки уровня мощности", {},
     [](CDevice& d) { return PowIn(d, z5r::omFrequencySweep); }},
    {"LevelRange", "PowerStep.Configure", "Ошибка установки диапазона мощности", {},
     [](CDevice& d) { return PowIn(d, z5r::omFrequencyPowerSweep); }},
    {"Lists", "List.Configure", "Ошибка установки списков частоты и мощности", {}, Lists},
    {"DwellFrequency", "FrequencyStep.put_Dwell", "Ошибка установки времени удержания", {}, Dwell},
    {"DwellPower", "PowerStep.put_Dwell", "Ошибка установки времени удержания", {}, Dwell},
    {"DwellList", "List.put_Dwell", "Ошибка установки времени удержания", {}, Dwell},
    {"SingleFrequency", "FrequencyStep.put_SinglePoint", "Ошибка установки режима одной точки", {}, SinglePoint},
    {"SinglePower", "PowerStep.put_SinglePoint", "Ошибка установки режима одной точки", {}, SinglePoint},
    {"SingleList", "List.put_SinglePoint", "Ошибка установки режима одной точки", {}, SinglePoint},
    {"SyncOutInverse", "TriggerOutput.put_Inverted", "Ошибка установки инверсии сигнала синхровыхода", {},
     Flag<&CDevice::SetSyncOutInverse>},
    {"SyncOutEnabled", "TriggerOutput.put_Enabled", "Ошибка включения синхровыхода", {},
     Flag<&CDevice::SetSyncOutEnabled>},
    {"SyncOutTime", "TriggerOutput.put_Duration", "Ошибка установки длительности сигнала синхровыхода", {},
     SyncTime},
    {"SyncOutMode", "TriggerOutput.put_Mode", "Ошибка установки режима работы синхровыхода", {}, SyncMode},
    {"Trigger", "Root.SendTrigger", "Ошибка однократного запуска", {}, [](CDevice& d) { return d.Trigger(); }},
    {"AttStrategy", "System.put_AttStrategy", "Ошибка установки стратегии управления аттенюатором", {},
     Strategy},
    {"SyncInInverse", "System.put_TriggerInputInverted", "Ошибка установки инверсии сигнала синхровхода", {},
     Flag<&CDevice::SetSyncInInverse>},
    {"Phase", "System.put_PhaseOffset", "Ошибка установки смещения фазы выходного сигнала", {}, Phase},
    {"Epc", "System.put_ExtPowerControl", "Ошибка включения внешнего управления мощностью", {},
     Flag<&CDevice::SetEpc>},
    {"Rf", "RF.put_OutputEnabled", "Ошибка включения СВЧ выхода", {}, Flag<&CDevice::SetRf>},
    {"PulseModOff", "PulseModulation.put_Enabled", "Ошибка включения импульсной модуляции", PulseModOn,
     [](CDevice& d) { return d.PulseModOff(); }},
    {"PeriodicModulationOff", "PulseModulation.put_Enabled", "Ошибка включения импульсной модуляции", PulseModOn,
     Periodic},
    {"PeriodicPacketOff", "PacketGenerator.put_Enabled", "Ошибка установки периода модуляции", {}, Periodic},
    {"PeriodicPeriod", "PulseGenerator.put_Period", "Ошибка установки периода модуляции", {}, Periodic},
    {"PeriodicWidth", "PulseGenerator.put_Width", "Ошибка", {}, Periodic},
    {"PeriodicModulationOn", "PulseModulation.put_Enabled", "Ошибка включения импульсной модуляции", {}, Periodic},
    {"PacketModulationOff", "PulseModulation.put_Enabled", "Ошибка включения импульсной модуляции", PulseModOn,
     Packet},
    {"PacketPeriod", "PulseGenerator.put_Period", "Ошибка установки периода модуляции", {}, Packet},
    {"PacketModulationOn", "PulseModulation.put_Enabled", "Ошибка включения импульсной модуляции", {}, Packet},
    {"PacketLoad", "PacketGenerator.Load", "Ошибка прогрузки пачки радиоимпульсов", {}, Packet},
    {"ExtRef", "System.put_ExtRefEnabled", "", {}, Flag<&CDevice::SetExtRef>},
    {"ExtRefFreq", "System.put_ExtRefFrequency", "", {}, RefFreq},
    {"PulseSource", "PulseModulation.put_Source", "", {}, [](CDevice& d) { return d.SetPulseSource(1); }},
};

class DeviceFailureTest : public DeviceTest, public ::testing::WithParamInterface<SFailureCase> {};

TEST_P(DeviceFailureTest, AFailingCallShowsItsMessageAndNoKeepsTheConnection) {
    const SFailureCase& c = GetParam();
    CDevice& device = Connected();
    if (c.prepare) c.prepare(*fake);
    fake->failures[c.failingCall] = korvel::E_FAIL;
    EXPECT_EQ(c.run(device), korvel::E_FAIL);
    EXPECT_EQ(device.LastResult(), korvel::E_FAIL);
    if (std::string(c.message).empty()) {
        EXPECT_TRUE(prompt.Shown().empty());
    } else {
        ExpectErrorBox(c.message);
    }
    EXPECT_TRUE(device.IsConnected());
    EXPECT_EQ(terminateRequests, 0);
    // The failing call is the last one: nothing runs on after it.
    EXPECT_EQ(fake->log.back().rfind(std::string(c.failingCall) + "(", 0), 0u) << fake->log.back();
}

INSTANTIATE_TEST_SUITE_P(EveryOperation, DeviceFailureTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceTest, YesClosesTheConnectionAndAsksTheProgramToEnd) {
    CDevice& device = Connected();
    bool on = true;
    device.SetRf(on);
    fake->log.clear();
    fake->failures["TriggerOutput.put_Mode"] = korvel::E_FAIL;
    prompt.QueueAnswer(EPromptResult::Yes);
    int mode = 3;
    EXPECT_EQ(device.SetSyncOutMode(mode), korvel::E_FAIL);
    EXPECT_EQ(mode, 3);
    ExpectErrorBox("Ошибка установки режима работы синхровыхода");
    EXPECT_EQ(terminateRequests, 1);
    EXPECT_FALSE(device.IsConnected());
    ASSERT_GE(fake->log.size(), 3u);
    EXPECT_EQ(fake->log[1], "RF.put_OutputEnabled(0)");
    EXPECT_EQ(fake->log[2], "Root.Close()");
    EXPECT_EQ(fake->liveObjects, 0);

    // The rest of a running settings push neither reaches the driver nor
    // raises more boxes.
    fake->log.clear();
    mode = 1;
    EXPECT_EQ(device.SetSyncOutMode(mode), -1);
    double dwell = 1;
    EXPECT_EQ(device.SetDwell(dwell), -1);
    EXPECT_TRUE(fake->log.empty());
    EXPECT_EQ(prompt.Shown().size(), 1u);
}

TEST_F(DeviceTest, NoKeepsTheRequestWhereNothingWasReadBack) {
    CDevice& device = Connected();
    fake->maxFreq = 1e9;
    fake->failures["FrequencyStep.Configure"] = korvel::E_FAIL;
    double start = 2e9, stop = 3e9;
    EXPECT_EQ(device.SetFreq(start, stop, 1), korvel::E_FAIL);
    EXPECT_EQ(start, 2e9);
    EXPECT_EQ(stop, 3e9);
    EXPECT_TRUE(device.IsConnected());
}

TEST_F(DeviceTest, OperationsWithoutTheirInterfaceDoNothingQuietly) {
    CDevice& device = NewDevice();  // never connected: no interfaces at all
    double a = 1, b = 2, c = 3;
    int flag = 1, mode = 1;
    bool on = true;
    std::int32_t phase = 1;
    std::vector<double> list{1};
    std::vector<z5r::SPulse> pulses(1);
    std::vector<z5r::SError> errors;
    EXPECT_EQ(device.SetFixFreqPow(a, b), -1);
    EXPECT_EQ(device.SetSweepMode(2), -1);
    EXPECT_EQ(device.SetTriggerSource(0), -1);
    EXPECT_EQ(device.SetFreq(a, b, 1), -1);
    EXPECT_EQ(device.SetPow(a, b, 1), -1);
    EXPECT_EQ(device.SetLists(list, list), -1);
    EXPECT_EQ(device.SetDwell(a), -1);
    EXPECT_EQ(device.SetSinglePoint(flag), -1);
    EXPECT_EQ(device.SetSyncOutInverse(on), -1);
    EXPECT_EQ(device.SetSyncOutTime(a), -1);
    EXPECT_EQ(device.SetSyncOutMode(mode), -1);
    EXPECT_EQ(device.Trigger(), -1);
    EXPECT_EQ(device.SetAttStrategy(mode), -1);
    EXPECT_EQ(device.SetPhase(phase), -1);
    EXPECT_EQ(device.SetRf(on), -1);
    EXPECT_EQ(device.PulseModOff(), -1);
    EXPECT_EQ(device.SetPeriodicPulse(a, b, c), -1);
    EXPECT_EQ(device.LoadPacket(pulses, a), -1);
    EXPECT_EQ(device.ReadErrors(errors), -1);
    EXPECT_EQ(a, 1.0);
    EXPECT_TRUE(on);
    EXPECT_TRUE(prompt.Shown().empty());
    EXPECT_TRUE(fake->log.empty());
}

}  // namespace
}  // namespace coretest
