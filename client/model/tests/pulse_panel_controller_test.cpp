// The pulse panel through the controller against the driver plugin and the
// simulated instrument: what the instrument holds after each choice, what the
// window is told, and what the person is asked.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "controller_folders.h"
#include "core/profile_enums.h"
#include "korvel/com_registry.h"
#include "korvel/korvel_v8n.h"
#include "model/main_controller.h"
#include "model/packet_editor_dialog.h"
#include "model/pulse_window.h"
#include "support/simulator_process.h"
#include "ui/scripted_prompt.h"

namespace z5r {
namespace {

const char* const kNoPacket = "Пачка радиоимпульсов не задана";
constexpr double kMicro = 1e-6;
// The instrument's time resolution is 10 ns; whatever is compared is coarser.
constexpr double kTimeTolerance = 1e-12;

// The edits as the window shows them, and what else it was told.
class CPulseRecordingView final : public IMainView, public IPulseWindow, public IPacketEditorDialog {
public:
    EditValues edits{};
    CControlStates states;
    int pulseItem = -1;
    int modeItem = -1;
    int modeChanges = 0;
    int periodicMarks = 0;
    std::optional<bool> periodTooShort;
    CMainController* controller = nullptr;
    // The editor: the packet it was opened with, and what the operator leaves.
    std::vector<SPulse> editorOpenedWith;
    double editorMinPulse = 0.0;
    std::optional<std::vector<SPulse>> editorAccepts;
    double editorPeriod = 0.0;

    SPulseEdits Shown() const { return {edits[eiTau], edits[eiPeriodSingle], edits[eiQ], edits[eiPeriodPacket]}; }

    // IMainView
    void ShowConnected(const SInstrumentIdentity&) override {}
    void ShowDisconnected() override {}
    void ShowRfButton(bool) override {}
    void ShowInstrumentError(const std::string&) override {}
    void ShowIndicator(EIndicator, bool) override {}
    void ShowRfOutput(bool) override {}
    void ShowRfRadiating(bool) override {}
    void ShowExtRef(bool, bool) override {}
    void ShowPulsePanel(bool) override {}
    void ShowSweepProgress(int) override {}
    void ShowSweepProgressMaximum(int) override {}
    void ShowFixedReadouts(double, double) override {}
    void ShowEditRanges(const EditRanges&, const SControlRange&) override {}
    void ShowEnabledStates(const CControlStates& shown, bool) override { states = shown; }
    void ShowControlEnabled(EControl control, bool enabled) override { states.Set(control, enabled); }
    void ShowSuperuserMenu(bool) override {}
    void ShowControlValues(const SDisplayedControls& shown) override { edits = shown.edits; }
    void StartPoll() override {}
    void StopPoll() override {}
    void ShowReadout(EReadout, double) override {}
    void ShowEditValue(int edit, double value) override { edits[static_cast<std::size_t>(edit)] = value; }
    void ShowEditChanged(int, bool) override {}
    void RememberEditValue(int) override {}
    void ShowPowerCeiling(bool, double) override {}
    void ShowEditSteps(const SEditSteps&) override {}
    void ShowSelection(ESelector selector, int index) override {
        if (selector == ESelector::PulseMode) pulseItem = index;
        if (selector == ESelector::Mode) modeItem = index;
    }
    void ShowChecked(ECheck, bool) override {}
    void ShowSummaryLine(ESummaryLine, const std::string&) override {}
    void RequestTerminate() override {}

    // IPulseWindow: every edit lies within its limits here, so the main
    // window's confirmation reaches the panel.
    void ShowPulseMode(int item) override { pulseItem = item; }
    void ShowOperatingMode(int item) override { modeItem = item; }
    void RunOperatingModeChange() override { ++modeChanges; }
    void ConfirmEdit(int edit) override { controller->Pulses().PulseEditConfirmed(edit, Shown()); }
    void MarkPeriodicEditsChanged() override { ++periodicMarks; }
    void ShowPacketPeriodTooShort(bool tooShort) override { periodTooShort = tooShort; }
    IPacketEditorDialog* PacketEditor() override { return this; }

    // IPacketEditorDialog
    bool EditPacket(std::vector<SPulse>& packet, double& packetPeriod, double minPulse) override {
        editorOpenedWith = packet;
        editorMinPulse = minPulse;
        if (!editorAccepts) return false;
        packet = *editorAccepts;
        packetPeriod = editorPeriod;
        return true;
    }
};

std::vector<double> Numbers(const std::string& commaSeparated) {
    std::vector<double> numbers;
    std::stringstream in(commaSeparated);
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty()) numbers.push_back(std::stod(item));
    return numbers;
}

SPulse Pulse(double tauUs, double periodUs, bool used = true) {
    return SPulse{tauUs * kMicro, periodUs * kMicro, periodUs / tauUs, used};
}

class PulsePanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        z5rtest::ResetControllerFolders();
        std::string error;
        ASSERT_TRUE(korvel::RegisterPlugin(KORVEL_PLUGIN_PATH, korvel::CLSID_KorvelV8N, &error)) << error;
    }

    CPulsePanel& Connect(const std::vector<std::string>& simOptions = {}) {
        sim_ = std::make_unique<drvtest::CSimulator>(simOptions);
        EXPECT_TRUE(sim_->Started()) << "z5r-sim did not start";
        SControllerOptions options;
        options.instrumentPort = [this] { return static_cast<int>(sim_->Port()); };
        controller_ = std::make_unique<CMainController>(view_, prompt_, std::move(options));
        view_.controller = controller_.get();
        controller_->Pulses().SetWindow(&view_);
        EXPECT_EQ(controller_->OpenConnection("127.0.0.1"), "");
        controller_->State().formShown = true;
        return controller_->Pulses();
    }

    std::string Sim(const std::string& key) {
        const auto state = sim_->State();
        const auto found = state.find(key);
        return found == state.end() ? std::string("<missing>") : found->second;
    }
    double SimTime(const std::string& key) { return std::stod(Sim(key)); }
    std::vector<std::string> Texts() const { return prompt_.ShownTexts(); }
    // Periodic modulation of 1 µs pulses every 4 µs is running.
    void StartPeriodic(CPulsePanel& panel) {
        view_.edits[eiTau] = 1 * kMicro;
        view_.edits[eiPeriodSingle] = 4 * kMicro;
        panel.PMModeCBChange(pmPeriodic);
        ASSERT_EQ(Sim("PulseModEnabled"), "1");
    }
    SPulseModParams& Pulses() { return controller_->Profile().pulsemodparams; }

    std::unique_ptr<drvtest::CSimulator> sim_;
    CPulseRecordingView view_;
    CScriptedPrompt prompt_{EPromptResult::No};
    std::unique_ptr<CMainController> controller_;
};

TEST_F(PulsePanelTest, PeriodicModulationGoesOutWithItsBoundsAndTheReadBack) {
    CPulsePanel& panel = Connect();
    // A period equal to the duration gets the shortest pause.
    view_.edits[eiTau] = 1 * kMicro;
    view_.edits[eiPeriodSingle] = 1 * kMicro;
    view_.edits[eiQ] = 1;
    panel.PMModeCBChange(pmPeriodic);

    EXPECT_EQ(Sim("PulseModEnabled"), "1");
    EXPECT_EQ(Sim("PulseModSource"), "0");
    EXPECT_EQ(Sim("PacketEnabled"), "0");
    EXPECT_NEAR(SimTime("PulseWidth"), 1e-6, kTimeTolerance);
    EXPECT_NEAR(SimTime("PulsePeriod"), 1.02e-6, kTimeTolerance);
    EXPECT_NEAR(view_.edits[eiPeriodSingle], 1.02e-6, kTimeTolerance);
    EXPECT_NEAR(view_.edits[eiQ], 1.02, 1e-9);
    EXPECT_NEAR(Pulses().periodsingle, 1.02e-6, kTimeTolerance);
    EXPECT_NEAR(Pulses().q, 1.02, 1e-9);
    EXPECT_EQ(Pulses().pulsemode, pmPeriodic);
    EXPECT_TRUE(view_.states.Enabled(EControl::SingleModGroupBox));
    EXPECT_FALSE(view_.states.Enabled(EControl::PacketModGroupBox));

    // The instrument keeps its own resolution; the edits show what it took.
    view_.edits[eiTau] = 2.004 * kMicro;
    panel.PulseEditConfirmed(eiTau, view_.Shown());
    EXPECT_NEAR(SimTime("PulseWidth"), 2.0e-6, kTimeTolerance);
    EXPECT_NEAR(view_.edits[eiTau], 2.0e-6, kTimeTolerance);
    EXPECT_NEAR(Pulses().tau, 2.0e-6, kTimeTolerance);

    panel.PMModeCBChange(pmNone);
    EXPECT_EQ(Sim("PulseModEnabled"), "0");
    EXPECT_FALSE(view_.states.Enabled(EControl::SingleModGroupBox));
    EXPECT_TRUE(prompt_.Shown().empty());
}

TEST_F(PulsePanelTest, LockedSettingsSendTheRecordWithItsBoundsWhateverTheWindowShows) {
    CPulsePanel& panel = Connect({"--secure"});
    ASSERT_TRUE(controller_->State().settingsLocked);
    Pulses().pulsemode = pmPeriodic;
    Pulses().tau = 1 * kMicro;
    Pulses().periodsingle = 1 * kMicro;
    // A locked window shows no numbers.
    view_.edits.fill(std::nan(""));
    panel.PMModeCBChange(pmNone);

    EXPECT_EQ(Pulses().pulsemode, pmPeriodic);
    EXPECT_EQ(Sim("PulseModEnabled"), "1");
    EXPECT_NEAR(SimTime("PulsePeriod"), 1.02e-6, kTimeTolerance);
    EXPECT_NEAR(Pulses().periodsingle, 1.02e-6, kTimeTolerance);
    EXPECT_NEAR(Pulses().q, 1.02, 1e-9);
    EXPECT_FALSE(view_.states.Enabled(EControl::SingleModGroupBox));
}

TEST_F(PulsePanelTest, TheTickedPulsesOfThePacketReachTheInstrument) {
    CPulsePanel& panel = Connect();
    panel.SetPacket({Pulse(1, 3), Pulse(2, 10, false), Pulse(0.5, 2)});
    view_.edits[eiPeriodPacket] = 8 * kMicro;
    panel.PMModeCBChange(pmPacket);

    EXPECT_EQ(Sim("PulseModEnabled"), "1");
    EXPECT_EQ(Sim("PacketEnabled"), "1");
    const std::vector<double> widths = Numbers(Sim("PacketWidths"));
    const std::vector<double> gaps = Numbers(Sim("PacketGaps"));
    ASSERT_EQ(widths.size(), 2u);
    ASSERT_EQ(gaps.size(), 2u);
    EXPECT_NEAR(widths[0], 1e-6, kTimeTolerance);
    EXPECT_NEAR(gaps[0], 2e-6, kTimeTolerance);
    EXPECT_NEAR(widths[1], 0.5e-6, kTimeTolerance);
    EXPECT_NEAR(gaps[1], 1.5e-6, kTimeTolerance);
    EXPECT_NEAR(SimTime("PulsePeriod"), 8e-6, kTimeTolerance);
    EXPECT_EQ(view_.periodTooShort, false);
    // The unticked pulse stays in the packet where it was.
    ASSERT_EQ(panel.Packet().size(), 3u);
    EXPECT_FALSE(panel.Packet()[1].used);
    EXPECT_TRUE(view_.states.Enabled(EControl::PacketModGroupBox));
    EXPECT_TRUE(prompt_.Shown().empty());
}

TEST_F(PulsePanelTest, APacketLongerThanTheInstrumentTakesComesBackShortened) {
    CPulsePanel& panel = Connect();
    constexpr std::size_t kOffered = 70;
    constexpr std::size_t kInstrumentTakes = 64;
    panel.SetPacket(std::vector<SPulse>(kOffered, Pulse(1, 2)));
    view_.edits[eiPeriodPacket] = 200 * kMicro;
    panel.PMModeCBChange(pmPacket);

    EXPECT_EQ(Numbers(Sim("PacketWidths")).size(), kInstrumentTakes);
    EXPECT_EQ(panel.Packet().size(), kInstrumentTakes);
    // The editor opens with what the instrument holds.
    panel.PacketParamsButtonClick(view_.edits[eiPeriodPacket]);
    EXPECT_EQ(view_.editorOpenedWith.size(), kInstrumentTakes);
    EXPECT_EQ(view_.editorMinPulse, 2e-8);
}

TEST_F(PulsePanelTest, AnAcceptedPacketIsSentUnlessItsPeriodIsTooShort) {
    CPulsePanel& panel = Connect();
    panel.PMModeCBChange(pmPacket);
    prompt_.ClearShown();
    view_.editorAccepts = std::vector<SPulse>{Pulse(1, 2), Pulse(1, 1.5)};
    view_.editorPeriod = 3 * kMicro;
    panel.PacketParamsButtonClick(view_.edits[eiPeriodPacket]);
    EXPECT_EQ(view_.periodTooShort, true);
    EXPECT_EQ(Sim("PacketWidths"), "");
    EXPECT_NEAR(view_.edits[eiPeriodPacket], 3e-6, kTimeTolerance);

    view_.editorPeriod = 3.5 * kMicro;
    panel.PacketParamsButtonClick(view_.edits[eiPeriodPacket]);
    EXPECT_EQ(view_.periodTooShort, false);
    EXPECT_EQ(Numbers(Sim("PacketWidths")).size(), 2u);
    EXPECT_NEAR(SimTime("PulsePeriod"), 3.5e-6, kTimeTolerance);
    EXPECT_TRUE(prompt_.Shown().empty());
}

TEST_F(PulsePanelTest, AnEmptyPacketSwitchesModulationOffAndSaysSo) {
    CPulsePanel& panel = Connect();
    StartPeriodic(panel);

    panel.PMModeCBChange(pmPacket);
    EXPECT_EQ(Sim("PulseModEnabled"), "0");
    ASSERT_EQ(Texts(), std::vector<std::string>{kNoPacket});
    EXPECT_EQ(prompt_.Shown().front().caption, "Внимание");
    EXPECT_EQ(prompt_.Shown().front().icon, EPromptIcon::Warning);
    EXPECT_EQ(Pulses().pulsemode, pmPacket);

    // The editor accepted empty does the same.
    view_.editorAccepts = std::vector<SPulse>{};
    panel.PacketParamsButtonClick(view_.edits[eiPeriodPacket]);
    EXPECT_EQ(Texts(), (std::vector<std::string>{kNoPacket, kNoPacket}));
}

TEST_F(PulsePanelTest, TheExternalInputSendsOnlyTheSource) {
    CPulsePanel& panel = Connect();
    const std::string period = Sim("PulsePeriod");
    panel.PMModeCBChange(pmExternal);
    EXPECT_EQ(Sim("PulseModSource"), "1");
    EXPECT_EQ(Sim("PulseModEnabled"), "1");
    EXPECT_EQ(Sim("PulsePeriod"), period);
    EXPECT_FALSE(view_.states.Enabled(EControl::SingleModGroupBox));
    EXPECT_FALSE(view_.states.Enabled(EControl::PacketModGroupBox));
}

TEST_F(PulsePanelTest, OutsideTheFixedModeTheOperatorIsAskedFirst) {
    CPulsePanel& panel = Connect();
    controller_->Profile().controlparams.mode = omFrequencySweep;
    prompt_.QueueAnswer(EPromptResult::Yes);
    panel.PMModeCBChange(pmPeriodic);
    ASSERT_EQ(Texts(), std::vector<std::string>{FixedModeQuestion()});
    const SPromptMessage& question = prompt_.Shown().front();
    EXPECT_EQ(question.caption, "Внимание");
    EXPECT_EQ(question.icon, EPromptIcon::Warning);
    EXPECT_EQ(question.buttons, EPromptButtons::YesNo);
    EXPECT_EQ(controller_->Profile().controlparams.mode, omFixed);
    EXPECT_EQ(view_.modeItem, omFixed);
    EXPECT_EQ(view_.modeChanges, 1);
    // The pulses go out at the next confirmation.
    EXPECT_EQ(Sim("PulseModEnabled"), "0");
    EXPECT_EQ(Pulses().pulsemode, pmPeriodic);
}

TEST_F(PulsePanelTest, LeavingTheFixedModeWithPulsesAsksAndNoSwitchesThemOff) {
    CPulsePanel& panel = Connect();
    StartPeriodic(panel);

    controller_->Profile().controlparams.mode = omFrequencySweep;
    panel.OperatingModeChanged();  // answered No
    EXPECT_EQ(Texts(), std::vector<std::string>{FixedModeQuestion()});
    EXPECT_EQ(Sim("PulseModEnabled"), "0");
    EXPECT_EQ(Pulses().pulsemode, pmNone);
    EXPECT_EQ(view_.pulseItem, pmNone);
    EXPECT_EQ(view_.modeChanges, 0);
    EXPECT_FALSE(view_.states.Enabled(EControl::SingleModGroupBox));

    // Without a pulse mode another operating mode asks nothing.
    panel.OperatingModeChanged();
    EXPECT_EQ(prompt_.Shown().size(), 1u);
}

TEST_F(PulsePanelTest, AnInstrumentWithoutPulseModulationIgnoresTheSelector) {
    CPulsePanel& panel = Connect({"--no-pulse"});
    EXPECT_FALSE(controller_->State().hasPulseModUi);
    view_.edits[eiTau] = 1 * kMicro;
    view_.edits[eiPeriodSingle] = 4 * kMicro;
    panel.PMModeCBChange(pmPeriodic);
    EXPECT_EQ(Pulses().pulsemode, pmNone);
    EXPECT_EQ(Sim("PulseModEnabled"), "<missing>");
    EXPECT_TRUE(prompt_.Shown().empty());
}

}  // namespace
}  // namespace z5r
