// The main window's controller against the real driver plugin and the
// simulated instrument, with a recording view and a prompt that keeps the
// poll's timer running while a box is open, as a real modal box does.
#include "controller_folders.h"
#include "model/main_controller.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/profile_enums.h"
#include "core/z5r_device.h"
#include "korvel/com_registry.h"
#include "korvel/korvel_v8n.h"
#include "core/tests/temp_dir.h"
#include "model/list_panel.h"
#include "core/paths.h"
#include "model/password_store.h"
#include "model/profile_list_file.h"
#include "support/simulator_process.h"
#include "ui/scripted_prompt.h"

namespace z5r {
namespace {

const char* const kLostLink = "Потеряна связь с прибором. Нажмите \"Повтор\" для восстановления.";
const char* const kLostReference =
    "Потерян захват частоты внешнего опорного генератора. Прибор переключен на внутренний опорный генератор.";
const char* const kNotFound =
    "Прибор не найден. Необходимо проверить правильность заданного адреса и состояние прибора.";
const char* const kListDiscard = "Все несохраненные данные будут стерты!\nПродолжить?";
const char* const kRfFailure = "Ошибка включения СВЧ выхода\r\n\r\nПрервать выполнение программы?";

// What the window was last told.
class CRecordingView final : public IMainView {
public:
    bool connectedShown = false;
    SInstrumentIdentity instrument;
    std::string rfButton;
    std::string instrumentError;
    std::map<EIndicator, bool> indicators;
    bool rfChecked = false;
    bool extRefChecked = false;
    bool polling = false;
    int terminateRequests = 0;
    CControlStates states;
    SDisplayedControls values;
    std::map<ESelector, int> selections;
    int progress = 0;
    int progressMaximum = 0;
    std::map<ECheck, bool> checks;
    SEditSteps steps;
    EditRanges ranges{};
    std::map<EReadout, double> readouts;
    std::map<int, double> editValues;
    std::map<int, bool> editChanged;
    std::map<int, int> editChangedCalls;
    bool ceilingOn = false;
    double ceiling = 0.0;
    std::map<ESummaryLine, std::string> summary;

    void ShowConnected(const SInstrumentIdentity& shown) override {
        connectedShown = true;
        instrument = shown;
    }
    void ShowDisconnected() override { connectedShown = false; }
    void ShowRfButton(bool pressed) override { rfButton = pressed ? "on" : "off"; }
    void ShowInstrumentError(const std::string& text) override { instrumentError = text; }
    void ShowIndicator(EIndicator indicator, bool active) override { indicators[indicator] = active; }
    void ShowRfOutput(bool enabled) override { rfChecked = enabled; }
    void ShowRfRadiating(bool) override {}
    void ShowExtRef(bool checked, bool) override { extRefChecked = checked; }
    void ShowPulsePanel(bool) override {}
    void ShowSweepProgress(int position) override { progress = position; }
    void ShowSweepProgressMaximum(int points) override { progressMaximum = points; }
    void ShowFixedReadouts(double, double) override {}
    void ShowEditRanges(const EditRanges& shown, const SControlRange&) override { ranges = shown; }
    void StartPoll() override { polling = true; }
    void StopPoll() override { polling = false; }
    void ShowEnabledStates(const CControlStates& shown, bool) override { states = shown; }
    void ShowControlEnabled(EControl control, bool enabled) override { states.Set(control, enabled); }
    void ShowSuperuserMenu(bool) override {}
    void ShowControlValues(const SDisplayedControls& shown) override { values = shown; }
    void ShowSummaryLine(ESummaryLine line, const std::string& value) override { summary[line] = value; }
    void ShowReadout(EReadout readout, double value) override { readouts[readout] = value; }
    void ShowEditValue(int edit, double value) override { editValues[edit] = value; }
    void ShowEditChanged(int edit, bool changed) override {
        editChanged[edit] = changed;
        ++editChangedCalls[edit];
    }
    void RememberEditValue(int) override {}
    void ShowEditSteps(const SEditSteps& shown) override { steps = shown; }
    void ShowSelection(ESelector selector, int index) override { selections[selector] = index; }
    void ShowChecked(ECheck box, bool checked) override { checks[box] = checked; }
    void ShowPowerCeiling(bool on, double limit) override {
        ceilingOn = on;
        ceiling = limit;
    }
    void RequestTerminate() override { ++terminateRequests; }
};

// A modal box: while it is open the world goes on (`whileOpen`) and the poll's
// timer keeps firing, then the scripted answer is given.
class CModalPrompt final : public CScriptedPrompt {
public:
    using CScriptedPrompt::CScriptedPrompt;
    static constexpr int kTicksWhileOpen = 3;
    std::function<void(const SPromptMessage&)> whileOpen;
    std::function<void()> tick;  // the timer's timeout
    std::function<bool()> timerRunning;
    int boxesOpenedInsideABox = 0;

    EPromptResult ShowMessage(const SPromptMessage& message) override {
        if (open_ > 0) ++boxesOpenedInsideABox;
        ++open_;
        if (whileOpen) whileOpen(message);
        for (int i = 0; i < kTicksWhileOpen && timerRunning && timerRunning(); ++i) tick();
        --open_;
        return CScriptedPrompt::ShowMessage(message);
    }

private:
    int open_ = 0;
};

class MainControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        z5rtest::ResetControllerFolders();
        std::string error;
        ASSERT_TRUE(korvel::RegisterPlugin(KORVEL_PLUGIN_PATH, korvel::CLSID_KorvelV8N, &error)) << error;
        StartSimulator();
        prompt_.tick = [this] { controller_->Timer1Timer(); };
        prompt_.timerRunning = [this] { return view_.polling; };
    }

    void StartSimulator(int port = 0, std::vector<std::string> options = {}) {
        if (port != 0) options.insert(options.end(), {"--port", std::to_string(port)});
        sim_ = std::make_unique<drvtest::CSimulator>(options);
        ASSERT_TRUE(sim_->Started()) << "z5r-sim did not start";
    }

    void MakeController() {
        SControllerOptions options;
        options.instrumentPort = [this] { return static_cast<int>(sim_->Port()); };
        controller_ = std::make_unique<CMainController>(view_, prompt_, std::move(options));
    }
    // The factory list holds `record` as its current settings, which the
    // connection applies.
    static void StartFrom(const SProfile& record) {
        ASSERT_EQ(WriteProfileListFile(GetVxDir(dirApplication) + "/default.z5p", {record}, EProfileListMark::Plain),
                  EProfileListWrite::Written);
    }
    CMainController& Connected() {
        MakeController();
        const std::string error = controller_->OpenConnection("127.0.0.1");
        EXPECT_EQ(error, "");
        return *controller_;
    }

    std::string SimState(const std::string& key) {
        const auto state = sim_->State();
        const auto found = state.find(key);
        return found == state.end() ? std::string("<missing>") : found->second;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const SPromptMessage& message : prompt_.Shown()) texts.push_back(message.text);
        return texts;
    }

    std::unique_ptr<drvtest::CSimulator> sim_;
    CRecordingView view_;
    CModalPrompt prompt_{EPromptResult::Cancel};
    std::unique_ptr<CMainController> controller_;
};

TEST_F(MainControllerTest, ConnectingShowsTheInstrumentAppliesTheRecordAndStartsThePoll) {
    CMainController& controller = Connected();
    EXPECT_TRUE(controller.State().connectedFlag);
    EXPECT_TRUE(controller.Connected());
    EXPECT_EQ(controller.State().currentAddress, "127.0.0.1");
    EXPECT_TRUE(view_.connectedShown);
    EXPECT_EQ(view_.instrument.address, "127.0.0.1");
    EXPECT_EQ(view_.instrument.serial, SimState("SerialNumber"));
    EXPECT_FALSE(view_.instrument.name.empty());
    // The record applied: the instrument holds its fixed frequency.
    EXPECT_DOUBLE_EQ(std::stod(SimState("CwFrequency")), controller.Profile().freqparams.fix);
    EXPECT_TRUE(view_.polling);
    EXPECT_EQ(view_.ranges[eiPoints].maximum, controller.State().limits.maxPoints);
    EXPECT_TRUE(view_.states.Enabled(EControl::ModeCB));
    EXPECT_TRUE(controller.Profiles().Actions().add);
    EXPECT_EQ(view_.editValues[eiCenter], controller.Profile().freqparams.fix);
    // Applying marks every edit and its sends clear the marks again; the
    // window is told only where a mark ends up different.
    for (int i = 0; i < kEditCount; ++i) {
        EXPECT_EQ(view_.editChanged[i], controller.Edits()[static_cast<std::size_t>(i)].changed) << i;
        EXPECT_LE(view_.editChangedCalls[i], 1) << i;
    }

    controller.DisconnectActionExecute();
    EXPECT_FALSE(controller.State().connectedFlag);
    EXPECT_FALSE(controller.Connected());
    EXPECT_FALSE(view_.connectedShown);
    EXPECT_FALSE(view_.polling);
    EXPECT_FALSE(view_.states.Enabled(EControl::ModeCB));
    EXPECT_FALSE(controller.Profiles().Actions().list);
}

TEST_F(MainControllerTest, ARefusedAddressLeavesNoSession) {
    MakeController();
    sim_->Kill();
    EXPECT_EQ(controller_->OpenConnection("127.0.0.1"), kNotFound);
    EXPECT_EQ(controller_->Device(), nullptr);
    EXPECT_FALSE(controller_->State().connectedFlag);
    EXPECT_FALSE(view_.polling);
}

TEST_F(MainControllerTest, ThePollShowsTheInstrumentsState) {
    CMainController& controller = Connected();
    sim_->Control("rf-button on");
    controller.Timer1Timer();
    EXPECT_EQ(view_.rfButton, "on");
    EXPECT_TRUE(view_.indicators[EIndicator::Capture]);
    EXPECT_FALSE(view_.indicators[EIndicator::Power]);  // the output is off
    EXPECT_FALSE(view_.indicators[EIndicator::Level]);

    sim_->Control("rf-button off");
    controller.Timer1Timer();
    EXPECT_EQ(view_.rfButton, "off");
    EXPECT_TRUE(prompt_.Shown().empty());
}

TEST_F(MainControllerTest, ADriverErrorSwitchesTheOutputOff) {
    CMainController& controller = Connected();
    controller.EnableRFActionExecute();
    ASSERT_TRUE(controller.State().rfEnabled);
    ASSERT_TRUE(view_.rfChecked);
    ASSERT_EQ(SimState("RfOutputEnabled"), "1");

    sim_->Control("error -32761");
    controller.Timer1Timer();
    EXPECT_EQ(SimState("RfOutputEnabled"), "0");
    EXPECT_FALSE(controller.State().rfEnabled);
    EXPECT_FALSE(view_.rfChecked);
    EXPECT_TRUE(controller.State().connectedFlag);
    EXPECT_TRUE(view_.polling);
    // Why, in the status bar and without a box.
    EXPECT_EQ(view_.instrumentError, "Нет захвата 1-го гетеродина");
    EXPECT_TRUE(prompt_.Shown().empty());
}

TEST_F(MainControllerTest, TheRfOutputIsWhatTheInstrumentReadBack) {
    CMainController& controller = Connected();
    sim_->Control("hold RfOutputEnabled 0");
    controller.EnableRFActionExecute();
    EXPECT_FALSE(controller.State().rfEnabled);
    EXPECT_FALSE(view_.rfChecked);
    EXPECT_FALSE(controller.Device()->IsRfOn());
    sim_->Control("release RfOutputEnabled");
    controller.EnableRFActionExecute();
    EXPECT_TRUE(controller.State().rfEnabled);
    EXPECT_TRUE(view_.rfChecked);
    EXPECT_EQ(SimState("RfOutputEnabled"), "1");
}

TEST_F(MainControllerTest, TheRunMomentSelectorFollowsTheInstrument) {
    CMainController& controller = Connected();
    controller.ModeCBChange(omFrequencySweep);
    sim_->Control("hold FrequencySinglePoint 0");
    controller.RunModeCBChange(rmNextPoint);
    EXPECT_EQ(controller.Profile().controlparams.runmode, rmSweepStart);
    EXPECT_EQ(view_.selections[ESelector::RunMode], rmSweepStart);
    EXPECT_EQ(view_.summary[slRunMoment], "Начало развертки");
}

TEST_F(MainControllerTest, ALostLinkCancelledLeavesNoOutputShownOn) {
    CMainController& controller = Connected();
    sim_->Control("rf-button on");
    controller.EnableRFActionExecute();
    controller.Timer1Timer();
    ASSERT_EQ(view_.rfButton, "on");
    ASSERT_TRUE(view_.rfChecked);
    sim_->Kill();
    controller.Timer1Timer();
    EXPECT_EQ(Texts(), std::vector<std::string>{kLostLink});
    EXPECT_FALSE(controller.State().rfEnabled);
    EXPECT_FALSE(view_.rfChecked);
    EXPECT_EQ(view_.rfButton, "off");
}

// The settings of the record reach the instrument at connection, also where
// other edits of the record lie outside the instrument's range.
TEST_F(MainControllerTest, ConnectingSendsEverySettingOfTheRecord) {
    SProfile record = MakeInitialProfile();
    record.freqparams.start = 0;  // below the instrument's range
    record.freqparams.stop = 0;
    record.controlparams.dwell = 0.5;
    record.syncparams.synctime = 5e-6;
    record.syncparams.phase = 30;
    StartFrom(record);
    MakeController();
    ASSERT_EQ(controller_->OpenConnection("127.0.0.1"), "");
    EXPECT_EQ(SimState("FrequencyDwell"), "0.5");
    EXPECT_EQ(SimState("SyncOutDuration"), "0.000005");
    EXPECT_EQ(SimState("PhaseOffset"), "30");
}

// An instrument in secure mode without a superuser: nothing of the record
// is shown, and only applying profiles is left.
TEST_F(MainControllerTest, ASecureInstrumentLocksTheWindow) {
    StartSimulator(0, {"--secure"});
    SProfile record = MakeInitialProfile();
    record.controlparams.dwell = 0.5;
    StartFrom(record);
    MakeController();
    ASSERT_EQ(controller_->OpenConnection("127.0.0.1"), "");
    EXPECT_TRUE(controller_->State().settingsLocked);
    for (int edit = 0; edit < kEditCount; ++edit) {
        EXPECT_TRUE(std::isnan(view_.values.edits[static_cast<std::size_t>(edit)])) << edit;
        if (view_.editValues.count(edit) != 0) {
            EXPECT_TRUE(std::isnan(view_.editValues[edit])) << edit;
        }
    }
    ASSERT_EQ(view_.summary.size(), static_cast<std::size_t>(kSummaryLineCount));
    for (const auto& [line, text] : view_.summary) EXPECT_EQ(text, "---") << line;
    EXPECT_FALSE(view_.states.Enabled(EControl::ModeCB));
    const SProfilePanelActions& actions = controller_->Profiles().Actions();
    EXPECT_TRUE(actions.list);
    EXPECT_FALSE(actions.newList || actions.open || actions.save || actions.add || actions.update || actions.edit ||
                 actions.remove || actions.defaults);
    // The record still reaches the instrument.
    EXPECT_EQ(SimState("FrequencyDwell"), "0.5");
}

TEST_F(MainControllerTest, ALostReferenceIsReportedOnceAndSwitchesTheOutputOff) {
    CMainController& controller = Connected();
    controller.RGFreqCBChange(rf10MHz);
    controller.ERGCBClick(true);
    ASSERT_TRUE(view_.extRefChecked);
    ASSERT_EQ(SimState("ExtRefEnabled"), "1");
    controller.EnableRFActionExecute();
    ASSERT_EQ(SimState("RfOutputEnabled"), "1");

    sim_->Control("lose-ref");
    for (int tick = 0; tick < 3; ++tick) controller.Timer1Timer();
    ASSERT_EQ(Texts(), std::vector<std::string>{kLostReference});
    const SPromptMessage& message = prompt_.Shown().front();
    EXPECT_EQ(message.caption, "Ошибка");
    EXPECT_EQ(message.icon, EPromptIcon::Error);
    EXPECT_TRUE(message.flags & pfNoOwner);
    EXPECT_FALSE(controller.Profile().syncparams.erg);
    EXPECT_FALSE(view_.extRefChecked);
    EXPECT_EQ(SimState("RfOutputEnabled"), "0");
    EXPECT_EQ(view_.summary[slExtRef], "Отключен");
    EXPECT_EQ(view_.summary[slExtRefFrequency], "---");
    EXPECT_TRUE(controller.State().connectedFlag);
    // Ticks while the box was open ran after it, once each box.
    EXPECT_EQ(prompt_.boxesOpenedInsideABox, 0);
}

TEST_F(MainControllerTest, ALostLinkIsReconnectedOnRetryWhenTheInstrumentIsBack) {
    CMainController& controller = Connected();
    const int port = sim_->Port();
    sim_->Kill();
    // The instrument is back while the question is open.
    prompt_.whileOpen = [&](const SPromptMessage&) {
        if (!sim_->Started() || SimState("Connections") == "<missing>") StartSimulator(port);
    };
    prompt_.QueueAnswer(EPromptResult::Retry);

    controller.Timer1Timer();
    ASSERT_EQ(Texts(), std::vector<std::string>{kLostLink});
    const SPromptMessage& question = prompt_.Shown().front();
    EXPECT_EQ(question.caption, "");
    EXPECT_EQ(question.icon, EPromptIcon::Warning);
    EXPECT_EQ(question.buttons, EPromptButtons::RetryCancel);
    EXPECT_TRUE(question.flags & pfTopmost);
    EXPECT_FALSE(question.flags & pfNoOwner);

    EXPECT_TRUE(controller.State().connectedFlag);
    EXPECT_TRUE(view_.polling);
    EXPECT_TRUE(view_.connectedShown);
    EXPECT_EQ(SimState("Connections"), "1");
}

TEST_F(MainControllerTest, ALostLinkEndsDisconnectedWhenRetryFailsAndTheOperatorCancels) {
    CMainController& controller = Connected();
    sim_->Kill();
    prompt_.QueueAnswer(EPromptResult::Retry);
    prompt_.QueueAnswer(EPromptResult::Cancel);

    controller.Timer1Timer();
    const std::vector<std::string> expected{kLostLink,
                                            std::string(kNotFound) + " Нажмите \"Повтор\" для восстановления."};
    ASSERT_EQ(Texts(), expected);
    EXPECT_EQ(prompt_.Shown()[1].buttons, EPromptButtons::RetryCancel);
    EXPECT_FALSE(controller.State().connectedFlag);
    EXPECT_FALSE(view_.polling);
    EXPECT_FALSE(view_.connectedShown);

    // Stopped: a later tick does nothing and asks nothing.
    controller.Timer1Timer();
    EXPECT_EQ(prompt_.Shown().size(), 2u);
}

TEST_F(MainControllerTest, ALostLinkCancelledAtOnceLeavesTheWindowDisconnected) {
    CMainController& controller = Connected();
    sim_->Kill();
    controller.Timer1Timer();
    EXPECT_EQ(Texts(), std::vector<std::string>{kLostLink});
    EXPECT_FALSE(controller.State().connectedFlag);
    EXPECT_FALSE(view_.polling);
}

TEST_F(MainControllerTest, SynchronisationAttenuatorAndReferenceReachTheInstrument) {
    CMainController& controller = Connected();
    struct SCase {
        const char* what;
        std::function<void()> event;
        const char* key;
        const char* held;
        ESummaryLine line;
        const char* summary;
    };
    const SCase cases[] = {
        {"sync out relays the input", [&] { controller.SyncOutModeCBChange(soSyncInRepeat); }, "SyncOutMode", "1",
         slSyncOut, "Транслировать синхровход"},
        {"sync out at sweep start", [&] { controller.SyncOutModeCBChange(soSweepStart); }, "SyncOutMode", "1001",
         slSyncOut, "Старт развертки"},
        {"sync out inverted", [&] { controller.SyncOutCBClick(true); }, "SyncOutInverted", "1", slSyncOutInverse,
         "Включен"},
        {"sync in inverted", [&] { controller.SyncInCBClick(true); }, "TriggerInputInverted", "1", slSyncInInverse,
         "Включен"},
        {"external power control", [&] { controller.EPCCBClick(true); }, "ExtPowerControl", "1", slExtPowerControl,
         "Включен"},
        {"attenuator strategy", [&] { controller.AttStrategyCBChange(asMinSwitching); }, "AttStrategy", "3",
         slAttStrategy, "Минимум переключений"},
        {"reference on",
         [&] {
             controller.RGFreqCBChange(rf10MHz);
             controller.ERGCBClick(true);
         },
         "ExtRefEnabled", "1", slExtRef, "Включен"},
        {"reference frequency", [] {}, "ExtRefFrequency", "10000000", slExtRefFrequency, "10 МГц"},
        {"reference off", [&] { controller.ERGCBClick(false); }, "ExtRefEnabled", "0", slExtRefFrequency, "---"},
    };
    for (const SCase& c : cases) {
        c.event();
        EXPECT_EQ(SimState(c.key), c.held) << c.what;
        EXPECT_EQ(view_.summary[c.line], c.summary) << c.what;
    }
    EXPECT_EQ(controller.Profile().powparams.strategy, asMinSwitching);
    EXPECT_TRUE(controller.Profile().syncparams.syncin);
    EXPECT_FALSE(controller.Profile().syncparams.erg);
    EXPECT_TRUE(prompt_.Shown().empty());
}

TEST_F(MainControllerTest, AReferenceWithoutASignalIsRefusedAndTheInstrumentStaysInternal) {
    CMainController& controller = Connected();
    sim_->Control("lose-ref");
    controller.RGFreqCBChange(rf10MHz);
    controller.ERGCBClick(true);
    EXPECT_EQ(Texts(), std::vector<std::string>{
                           "Внешний опорный генератор не смог произвести захват частоты или не был подключен"});
    EXPECT_EQ(SimState("ExtRefEnabled"), "0");
    EXPECT_FALSE(controller.Profile().syncparams.erg);
    EXPECT_FALSE(view_.extRefChecked);
    EXPECT_EQ(view_.summary[slExtRef], "Отключен");
    // Once the signal is there the same tick takes.
    sim_->Control("restore-ref");
    controller.ERGCBClick(true);
    EXPECT_EQ(SimState("ExtRefEnabled"), "1");
    EXPECT_TRUE(view_.extRefChecked);
    EXPECT_EQ(prompt_.Shown().size(), 1u);
}

TEST_F(MainControllerTest, TheSyncDurationIsUsableExceptWhileTheInputIsRelayed) {
    CMainController& controller = Connected();
    controller.SyncOutModeCBChange(soSyncInRepeat);
    EXPECT_FALSE(view_.states.Enabled(EControl::SyncTimeEdit));
    controller.SyncOutModeCBChange(soSweepStart);
    EXPECT_TRUE(view_.states.Enabled(EControl::SyncTimeEdit));
}

// The instrument stops answering an RF request, and is gone for good while
// the failure's box is open; the poll keeps ticking under the box.
class InstrumentKilledUnderAnErrorBox : public MainControllerTest,
                                        public ::testing::WithParamInterface<EPromptResult> {};

TEST_P(InstrumentKilledUnderAnErrorBox, ThePollWaitsForTheBoxAndTheSessionOutlivesItsOperation) {
    CMainController& controller = Connected();
    const EPromptResult answer = GetParam();
    sim_->Control("mute on");
    prompt_.whileOpen = [&](const SPromptMessage& message) {
        if (message.text == kRfFailure) sim_->Kill();
    };
    prompt_.QueueAnswer(answer);

    controller.EnableRFActionExecute();

    ASSERT_FALSE(prompt_.Shown().empty());
    EXPECT_EQ(prompt_.Shown().front().text, kRfFailure);
    EXPECT_EQ(prompt_.boxesOpenedInsideABox, 0);
    EXPECT_FALSE(controller.State().rfEnabled);
    if (answer == EPromptResult::Yes) {
        // The program ends; the poll that was put off finds nothing to watch.
        EXPECT_EQ(view_.terminateRequests, 1);
        EXPECT_EQ(Texts(), std::vector<std::string>{kRfFailure});
    } else {
        // The tick put off runs when the box closes and finds the link lost.
        EXPECT_EQ(view_.terminateRequests, 0);
        EXPECT_EQ(Texts(), (std::vector<std::string>{kRfFailure, kLostLink}));
        EXPECT_FALSE(view_.polling);
        EXPECT_FALSE(view_.connectedShown);
    }
    EXPECT_FALSE(controller.Connected());
}

INSTANTIATE_TEST_SUITE_P(BothAnswers, InstrumentKilledUnderAnErrorBox,
                         ::testing::Values(EPromptResult::No, EPromptResult::Yes),
                         [](const auto& info) { return info.param == EPromptResult::Yes ? "Yes" : "No"; });

TEST_F(MainControllerTest, ALinkLostWhileTheLostReferenceBoxIsOpenIsOfferedOnceItCloses) {
    CMainController& controller = Connected();
    controller.RGFreqCBChange(rf10MHz);
    controller.ERGCBClick(true);
    ASSERT_TRUE(controller.Profile().syncparams.erg);
    sim_->Control("lose-ref");
    prompt_.whileOpen = [&](const SPromptMessage& message) {
        if (message.text == kLostReference) sim_->Kill();
    };

    controller.Timer1Timer();

    EXPECT_EQ(Texts(), (std::vector<std::string>{kLostReference, kLostLink}));
    EXPECT_EQ(prompt_.boxesOpenedInsideABox, 0);
    EXPECT_FALSE(controller.State().connectedFlag);
    EXPECT_FALSE(view_.polling);
}

// The list panel's editor: every opening is confirmed with `entered`.
class CConfirmingEditor final : public ISegmentEditorDialog {
public:
    SListPoint entered;
    void SetLimits(const SSegmentEditorLimits&) override {}
    bool EditSegment(SListPoint& segment) override {
        segment = entered;
        return true;
    }
};

TEST_F(MainControllerTest, AListBuiltOnThePanelOrReadFromAFileReachesTheInstrument) {
    CMainController& controller = Connected();
    controller.Profile().controlparams.mode = omListSweep;
    CConfirmingEditor editor;
    CListPanel& panel = controller.ListPanel();
    panel.Attach(nullptr, &editor, '.');
    editor.entered.startfreq = 10000000;
    editor.entered.stopfreq = 20000000;
    editor.entered.points = 3;
    editor.entered.startpow = -10;
    editor.entered.stoppow = -20;

    EXPECT_FALSE(view_.states.Enabled(EControl::SaveListAction)) << "nothing to save";
    panel.AddLineActionExecute();
    EXPECT_EQ(SimState("ListFrequencies"), "10000000,15000000,20000000");
    controller.SetControlsState(true);
    EXPECT_TRUE(view_.states.Enabled(EControl::SaveListAction));
    EXPECT_EQ(SimState("ListLevels"), "-10.00,-15.00,-20.00");

    panel.SelectionChanged({0});
    editor.entered.points = 2;
    panel.EditLineActionExecute();
    EXPECT_EQ(SimState("ListFrequencies"), "10000000,20000000");
    EXPECT_TRUE(Texts().empty());

    // The instrument cannot go below 10 MHz and moves the first point.
    coretest::CTempDir dir;
    const std::string csv = dir.Path() + "/points.csv";
    std::ofstream(csv, std::ios::binary) << "5000000;0\r\n12000000;1\r\n";
    prompt_.SetDefaultAnswer(EPromptResult::Ok);
    prompt_.QueueFile(csv, 1);
    panel.OpenListActionExecute(EListOpen::Replace);
    EXPECT_EQ(SimState("ListFrequencies"), "10000000,12000000");
    EXPECT_EQ(Texts(), (std::vector<std::string>{kListDiscard, "Cписок был скорректирован прибором."}));
    EXPECT_EQ(panel.Segments().front().startfreq, 5000000) << "the segments stay as entered";
}

TEST_F(MainControllerTest, ListChangesSendNothingOutsideTheListSweep) {
    CMainController& controller = Connected();
    controller.Profile().controlparams.mode = omListSweep;
    CConfirmingEditor editor;
    editor.entered.points = 2;
    controller.ListPanel().Attach(nullptr, &editor, '.');
    controller.ListPanel().AddLineActionExecute();
    const std::string sent = SimState("ListFrequencies");
    ASSERT_EQ(sent, "10000000,20000000000");
    controller.Profile().controlparams.mode = omFrequencyPowerSweep;
    editor.entered.stopfreq = 30000000;
    controller.ListPanel().AddLineActionExecute();
    EXPECT_EQ(SimState("ListFrequencies"), sent);
}

// The edits and selectors as the window passes on what the operator typed
// and chose, on a shown window.
class ControllerSettingsTest : public MainControllerTest {
protected:
    CMainController& Shown() {
        MakeController();
        controller_->State().formShown = true;
        EXPECT_EQ(controller_->OpenConnection("127.0.0.1"), "");
        return *controller_;
    }
    // Typed and confirmed, as Enter does.
    void Enter(int edit, double value) {
        controller_->Run([&] { controller_->EditChanged(edit, value); });
        controller_->Run([&] { controller_->EditConfirmed(edit); });
    }
    double Edit(int edit) const { return controller_->Edits()[static_cast<std::size_t>(edit)].value; }
    bool Changed(int edit) const { return controller_->Edits()[static_cast<std::size_t>(edit)].changed; }
    double SimNumber(const std::string& key) { return std::stod(SimState(key)); }
};

TEST_F(ControllerSettingsTest, OnePointCollapsesTheRangeAndTwoRestoresTheStop) {
    CMainController& controller = Shown();
    controller.ModeCBChange(omFrequencySweep);
    Enter(eiStart, 1e9);
    Enter(eiStop, 3e9);
    Enter(eiPoints, 1);
    EXPECT_DOUBLE_EQ(Edit(eiStop), 1e9);
    EXPECT_DOUBLE_EQ(Edit(eiCenter), 1e9);
    EXPECT_DOUBLE_EQ(Edit(eiSpan), 0.0);
    EXPECT_DOUBLE_EQ(view_.editValues[eiStop], 1e9);
    Enter(eiPoints, 2);
    EXPECT_DOUBLE_EQ(Edit(eiStop), 3e9);
    EXPECT_DOUBLE_EQ(Edit(eiCenter), 2e9);
    EXPECT_DOUBLE_EQ(Edit(eiSpan), 2e9);
    EXPECT_DOUBLE_EQ(view_.editValues[eiSpan], 2e9);
    EXPECT_EQ(SimNumber("SweepStopFrequency"), 3e9);
}

TEST_F(ControllerSettingsTest, AnEntryOutOfRangeBlocksEverySendUntilItIsCorrected) {
    CMainController& controller = Shown();
    controller.ModeCBChange(omFrequencySweep);
    Enter(eiStart, 1e9);
    const std::string requests = SimState("Requests");

    Enter(eiDwell, 5.0);
    EXPECT_TRUE(Changed(eiDwell));
    Enter(eiStart, 1.2e9);
    EXPECT_EQ(SimState("Requests"), requests);
    EXPECT_EQ(SimNumber("SweepStartFrequency"), 1e9);
    EXPECT_TRUE(Changed(eiStart));
    EXPECT_TRUE(view_.editChanged[eiStart]);

    Enter(eiDwell, 0.02);
    EXPECT_DOUBLE_EQ(SimNumber("FrequencyDwell"), 0.02);
    Enter(eiStart, 1.2e9);
    EXPECT_EQ(SimNumber("SweepStartFrequency"), 1.2e9);
    EXPECT_FALSE(Changed(eiStart));
    EXPECT_FALSE(Changed(eiDwell));
    EXPECT_FALSE(view_.editChanged[eiDwell]);
}

TEST_F(ControllerSettingsTest, FullRangeButtonsTakeTheInstrumentsLimitsAndTheCeiling) {
    CMainController& controller = Shown();
    controller.ModeCBChange(omFrequencySweep);
    controller.FreqFullRangeBClick();
    const SInstrumentLimits& limits = controller.State().limits;
    EXPECT_EQ(Edit(eiStart), limits.minFreq);
    EXPECT_EQ(Edit(eiStop), limits.maxFreq);
    EXPECT_EQ(SimNumber("SweepStartFrequency"), limits.minFreq);
    EXPECT_EQ(SimNumber("SweepStopFrequency"), limits.maxFreq);

    controller.ModeCBChange(omPowerSweep);
    controller.PowLimitChanged(5.0);
    controller.AllowLimitPowerCBClick(true);
    EXPECT_FALSE(view_.states.Enabled(EControl::PowLimit));
    controller.PowFullRangeBClick();
    EXPECT_DOUBLE_EQ(Edit(eiPowStart), limits.minPow);
    EXPECT_DOUBLE_EQ(Edit(eiPowStop), 5.0);
    EXPECT_DOUBLE_EQ(SimNumber("SweepStopLevel"), 5.0);
}

TEST_F(ControllerSettingsTest, TheSummaryShowsWhatWasSent) {
    CMainController& controller = Shown();
    controller.ModeCBChange(omFrequencySweep);
    Enter(eiPoints, 11);
    Enter(eiStart, 1e9);
    Enter(eiStop, 2e9);
    EXPECT_EQ(view_.summary[slFrequencyStep], "100 000 000 Гц");
    EXPECT_EQ(view_.summary[slPoints], "11");

    Enter(eiDwell, 0.01);
    EXPECT_EQ(view_.summary[slDwell], "10 мс");
    // The unit the operator picks arrives with its event.
    controller.EditUnitPicked(eiDwell, 0);
    EXPECT_EQ(view_.summary[slDwell], "0.01 с");

    controller.PowLimitChanged(-20);
    controller.AllowLimitPowerCBClick(true);
    EXPECT_EQ(view_.summary[slPowerLimit], "-20 дБм");

    // The logarithmic sweep has no step of its own; its level is the centre's.
    controller.LinLogRGClick(stLog);
    EXPECT_EQ(view_.summary[slFrequencyStep], "---");
    Enter(eiPowCenter, -27);
    EXPECT_DOUBLE_EQ(view_.readouts[EReadout::P0], -27);

    controller.LinLogRGClick(stLinear);
    controller.ModeCBChange(omFrequencyPowerSweep);
    Enter(eiPoints, 3);
    Enter(eiPowStart, -30);
    Enter(eiPowStop, -20);
    EXPECT_EQ(view_.summary[slPowerStep], "5 дБ");
    EXPECT_TRUE(prompt_.Shown().empty());
}

TEST_F(ControllerSettingsTest, ManualSteppingWalksThePointsAndWraps) {
    CMainController& controller = Shown();
    controller.ModeCBChange(omFrequencySweep);
    Enter(eiStart, 1e9);
    Enter(eiStop, 1.003e9);
    Enter(eiPoints, 4);
    Enter(eiPowCenter, -5);
    controller.RunModeCBChange(rmNextPoint);
    controller.TriggerModeCBChange(tmManual);

    // Held at one point, the first.
    EXPECT_EQ(SimNumber("SweepMode"), 0.0);
    EXPECT_EQ(SimNumber("CwFrequency"), 1e9);
    EXPECT_DOUBLE_EQ(SimNumber("Level"), -5.0);
    EXPECT_TRUE(view_.states.Enabled(EControl::HandModeStepAction));
    EXPECT_EQ(view_.progressMaximum, 4);
    EXPECT_EQ(view_.progress, 1);

    for (double expected : {1.001e9, 1.002e9, 1.003e9, 1e9, 1.001e9}) {
        controller.HandModeStepActionExecute();
        EXPECT_EQ(SimNumber("CwFrequency"), expected);
    }
    EXPECT_EQ(view_.progress, 2);

    // Back to the automatic trigger: the sweep runs on the instrument again.
    controller.TriggerModeCBChange(tmAuto);
    EXPECT_EQ(SimNumber("SweepMode"), 3.0);
    EXPECT_EQ(SimNumber("SweepStartFrequency"), 1e9);
    EXPECT_FALSE(view_.states.Enabled(EControl::HandModeStepAction));
}

// ---------------------------------------------------------------- profiles

TEST_F(ControllerSettingsTest, SettingsChangedSurviveARestartOfTheClient) {
    // Levels inside the instrument's range, as the factory list has them: a
    // value outside it would block the confirmations of the application.
    SProfile start = MakeInitialProfile();
    start.powparams.start = start.powparams.fix = -20;
    ASSERT_EQ(WriteProfileListFile(GetVxDir(dirApplication) + "/default.z5p", {start}, EProfileListMark::Plain),
              EProfileListWrite::Written);
    Shown();
    Enter(eiCenter, 2.5e9);
    controller_->ModeCBChange(omFrequencySweep);
    Enter(eiStart, 1.2e9);
    Enter(eiDwell, 0.02);
    ASSERT_DOUBLE_EQ(SimNumber("FrequencyDwell"), 0.02);
    controller_->DisconnectActionExecute();
    controller_.reset();

    // A new client and an instrument that starts from its own defaults.
    sim_.reset();
    StartSimulator();
    ASSERT_NE(SimNumber("SweepStartFrequency"), 1.2e9);
    Shown();
    EXPECT_EQ(controller_->Profile().controlparams.mode, omFrequencySweep);
    EXPECT_EQ(controller_->Profile().controlparams.dwell, 0.02);
    EXPECT_EQ(SimNumber("SweepStartFrequency"), 1.2e9);
    EXPECT_DOUBLE_EQ(SimNumber("FrequencyDwell"), 0.02);
    EXPECT_TRUE(prompt_.Shown().empty());
}

TEST_F(ControllerSettingsTest, ASecureInstrumentIsUnlockedByTheSuperuserOnly) {
    const std::string store = GetVxDir(dirApplication) + "/secure";
    std::ofstream(store).close();
    ASSERT_TRUE(WritePassword(store, "pw"));
    sim_ = std::make_unique<drvtest::CSimulator>(std::vector<std::string>{"--secure"});
    ASSERT_TRUE(sim_->Started());
    CMainController& controller = Shown();
    EXPECT_TRUE(controller.State().settingsLocked);
    EXPECT_FALSE(view_.states.Enabled(EControl::ModeCB));
    EXPECT_FALSE(controller.Profiles().Actions().add);

    prompt_.QueuePassword("wrong");
    prompt_.QueuePassword("pw");
    controller.Run([&] { controller.Superuser().PassSuperuserActionExecute(); });
    EXPECT_FALSE(controller.State().settingsLocked);
    EXPECT_TRUE(view_.states.Enabled(EControl::ModeCB));
    EXPECT_TRUE(controller.Profiles().Actions().add);
    Enter(eiCenter, 3e9);
    EXPECT_EQ(SimNumber("CwFrequency"), 3e9);

    prompt_.QueuePasswordChange(SPasswordChange{"pw", "neu", "neu"});
    controller.Run([&] { controller.Superuser().ChangePassSuperuserActionExecute(); });
    EXPECT_EQ(ReadPassword(store), "neu");

    controller.Run([&] { controller.Superuser().ExitSupermodeActionExecute(); });
    EXPECT_TRUE(controller.State().settingsLocked);
    EXPECT_FALSE(view_.states.Enabled(EControl::ModeCB));
    EXPECT_FALSE(controller.Profiles().Actions().add);

    // The secure list written at disconnection carries the mark.
    controller.DisconnectActionExecute();
    std::vector<SProfile> saved;
    EXPECT_EQ(ReadProfileListFile(GetVxDir(dirDefProfiles) + "/profile_s.z5p", ESecureListTest::Require, saved),
              EProfileListRead::Read);
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(saved.back().freqparams.fix, 3e9);
    EXPECT_TRUE(prompt_.Shown().empty());
}

}  // namespace
}  // namespace z5r
