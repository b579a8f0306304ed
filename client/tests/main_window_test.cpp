// The main window as built: every named control, the state before the first
// connection, the panel and edit order, the exit question, the views, and
// the connect action on activation.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <cmath>
#include <fstream>
#include <functional>
#include <memory>

#include "model/tests/initial_default_list.h"
#include "core/paths.h"
#include "core/profile_enums.h"
#include "gui_main.h"
#include "korvel/components/form_connect.h"
#include "korvel/components/kv_indicator.h"
#include "korvel/components/kv_spin_edit.h"
#include "korvel/components/roll_panel.h"
#include "test_env.h"
#include "ui/radio_group.h"
#include "ui/scripted_prompt.h"
#include "z5r/i18n.h"

namespace z5r {
namespace {

// Processes events until `done` holds or about five seconds passed.
bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 500 && !done(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetupCatalogue(APP_LOCALE_DIR, "ru");
        SetApplicationDirOverride(appDir_.Str());
        std::ofstream(appDir_.Path() / "config.xml") << "<connection/>\n";
        z5rtest::WriteInitialDefaultList(appDir_.Str());
    }
    void TearDown() override { SetApplicationDirOverride(""); }

    std::unique_ptr<TMain> MakeMain(std::vector<std::string> arguments = {}) {
        STMainOptions options;
        options.prompt = &prompt_;
        options.arguments = std::move(arguments);
        options.runModal = [this](QDialog& dialog) {
            modalShown_.push_back(&dialog);
            return static_cast<int>(QDialog::Rejected);
        };
        options.requestTerminate = [this] { ++terminateRequests_; };
        return std::make_unique<TMain>(std::move(options));
    }

    z5rtest::UserFolders folders_;
    z5rtest::TempDir appDir_;
    CScriptedPrompt prompt_;
    std::vector<QDialog*> modalShown_;
    int terminateRequests_ = 0;
};

template <typename T>
T* Find(const TMain& main, const char* name) {
    return main.findChild<T*>(QString::fromLatin1(name));
}

TEST_F(MainWindowTest, EveryNamedControlExistsOnceUnderItsName) {
    const auto main = MakeMain();
    const std::vector<std::pair<const char*, const char*>> controls = {
        // actions
        {"ConnectAction", "QAction"}, {"DisconnectAction", "QAction"}, {"EnableRFAction", "QAction"},
        {"HandModeStepAction", "QAction"}, {"ExitAction", "QAction"}, {"PassSuperuserAction", "QAction"},
        {"ChangePassSuperuserAction", "QAction"}, {"ExitSupermodeAction", "QAction"},
        {"NewProfileListAction", "QAction"}, {"OpenProfileListAction", "QAction"},
        {"SaveProfileListAction", "QAction"}, {"AddProfileAction", "QAction"}, {"UpdateProfileAction", "QAction"},
        {"EditProfileAction", "QAction"}, {"DelProfileAction", "QAction"}, {"ApplyProfileAction", "QAction"},
        {"DefaultProfileAction", "QAction"}, {"NewListAction", "QAction"}, {"OpenListAction", "QAction"},
        {"OpenListAndAddAction", "QAction"}, {"SaveListAction", "QAction"}, {"AddLineAction", "QAction"},
        {"EditLineAction", "QAction"}, {"DeleteLineAction", "QAction"}, {"UpLineAction", "QAction"},
        {"DownLineAction", "QAction"}, {"SelAllAction", "QAction"}, {"DeselAllAction", "QAction"},
        {"AboutAction", "QAction"}, {"AddressAction", "QAction"}, {"HelpAction", "QAction"},
        {"AboutDeviceAction", "QAction"}, {"CompactViewAction", "QAction"}, {"FullViewAction", "QAction"},
        {"HideAllAction", "QAction"}, {"RestoreAllAction", "QAction"},
        // menus and tool bar
        {"SuperuserMenu", "QMenu"}, {"TabsMenu", "QMenu"}, {"ListPopupMenu", "QMenu"}, {"ProfPopupMenu", "QMenu"},
        {"ConnectDevItem", "QToolButton"}, {"DisconnectDevItem", "QToolButton"}, {"RFItem", "QToolButton"},
        // status bar
        {"NameLabelItem", "QLabel"}, {"SNLabelItem", "QLabel"}, {"IPLabelItem", "QLabel"},
        {"ConnectLabelItem", "QLabel"}, {"SVCHLabelItem", "QLabel"}, {"SweepPB", "QProgressBar"},
        // readouts, summary, lists
        {"F0Label", "korvel::TKvLabel"}, {"F1Label", "korvel::TKvLabel"}, {"F2Label", "korvel::TKvLabel"},
        {"P0Label", "korvel::TKvLabel"}, {"P1Label", "korvel::TKvLabel"}, {"P2Label", "korvel::TKvLabel"},
        {"CaptureInd", "korvel::TKvIndicator"}, {"LevelInd", "korvel::TKvIndicator"},
        {"PowInd", "korvel::TKvIndicator"}, {"ParamsLV1", "QTreeWidget"}, {"ParamsLV2", "QTreeWidget"},
        {"ListLV", "QTreeWidget"}, {"ProfLV", "QTreeWidget"}, {"ProfilesGroupBox", "QGroupBox"},
        {"PageControl", "QTabWidget"},
        // control column
        {"ControlPS", "korvel::TKvPageScroller"}, {"ControlPan", "korvel::TKvRollPanel"},
        {"FreqPan", "korvel::TKvRollPanel"}, {"PowPan", "korvel::TKvRollPanel"},
        {"SyncPan", "korvel::TKvRollPanel"}, {"OGPan", "korvel::TKvRollPanel"}, {"PMPan", "korvel::TKvRollPanel"},
        {"ModeCB", "QComboBox"}, {"TriggerModeCB", "QComboBox"}, {"RunModeCB", "QComboBox"},
        {"LinLogRG", "z5r::TRadioGroup"}, {"FreqFullRangeB", "QPushButton"}, {"PowFullRangeB", "QPushButton"},
        {"AllowLimitPowerCB", "QCheckBox"}, {"PowLimit", "korvel::TKvSpinEdit"}, {"AttStrategyCB", "QComboBox"},
        {"AttStrategyLabel", "QLabel"}, {"EPCCB", "QCheckBox"}, {"SyncOutModeCB", "QComboBox"},
        {"SyncOutCB", "QCheckBox"}, {"SyncInCB", "QCheckBox"}, {"ERGCB", "QCheckBox"}, {"RGFreqCB", "QComboBox"},
        {"PMModeCB", "QComboBox"}, {"PMModeLabel", "QLabel"}, {"SingleModGroupBox", "QGroupBox"},
        {"PacketModGroupBox", "QGroupBox"}, {"PacketParamsButton", "QPushButton"}, {"ModeLabel", "QLabel"},
    };
    for (const auto& [name, className] : controls) {
        const auto found = main->findChildren<QObject*>(QString::fromLatin1(name));
        ASSERT_EQ(found.size(), 1) << name;
        EXPECT_TRUE(found.front()->inherits(className)) << name << " is " << found.front()->metaObject()->className();
    }
    for (int i = 0; i < kEditCount; ++i) {
        EXPECT_EQ(main->findChildren<korvel::TKvSpinEdit*>(QString::fromLatin1(EditName(i))).size(), 1)
            << EditName(i);
    }
    EXPECT_EQ(Find<QAction>(*main, "ConnectAction")->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(Find<QAction>(*main, "DisconnectAction")->shortcut(), QKeySequence(Qt::Key_F8));
    EXPECT_EQ(Find<QAction>(*main, "EnableRFAction")->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(Find<QAction>(*main, "HandModeStepAction")->shortcut(), QKeySequence(Qt::Key_F6));
    EXPECT_EQ(main->windowTitle(), QString::fromUtf8("Программный комплекс Z5R"));
}

TEST_F(MainWindowTest, StartsDisconnectedWithTheSettingsLocked) {
    const auto main = MakeMain();
    const SMainState& s = main->State();
    EXPECT_FALSE(s.connectedFlag);
    EXPECT_TRUE(s.settingsLocked);
    EXPECT_TRUE(s.controlsOff);
    EXPECT_TRUE(s.firstConnect);
    EXPECT_FALSE(s.formShown || s.rfEnabled || s.superuserMenu || s.superuserIn || s.attStrategyOk ||
                 s.hasPulseModUi);
    EXPECT_EQ(s.currentAddress, "127.0.0.1");
    EXPECT_EQ(s.limits.minFreq, 0.0);
    EXPECT_EQ(s.limits.maxFreq, 110e9);
    EXPECT_EQ(s.limits.minPow, -130.0);
    EXPECT_EQ(s.limits.maxPow, 35.0);
    EXPECT_EQ(s.limits.maxPoints, 100001.0);
    EXPECT_EQ(main->findChild<korvel::TFormConnect*>(), nullptr) << "the dialog is built when needed";
    ASSERT_NE(main->Timer1, nullptr);
    EXPECT_EQ(main->Timer1->interval(), 1000);
    EXPECT_FALSE(main->Timer1->isActive());

    EXPECT_EQ(main->NameLabelItem->text(), QStringLiteral("-------"));
    EXPECT_EQ(main->SNLabelItem->text(), QString::fromUtf8("с/н: ---------"));
    EXPECT_EQ(main->IPLabelItem->text(), QStringLiteral("IP: ---.---.---.---"));
    EXPECT_EQ(main->ConnectLabelItem->text(), QString::fromUtf8("Отключен"));
    EXPECT_EQ(main->SVCHLabelItem->text(), QString::fromUtf8("Кнопка СВЧ: выкл"));

    EXPECT_TRUE(main->ConnectAction->isEnabled());
    EXPECT_FALSE(main->DisconnectAction->isEnabled());
    EXPECT_FALSE(main->EnableRFAction->isEnabled());
    EXPECT_FALSE(main->HandModeStepAction->isEnabled());
    EXPECT_FALSE(main->SuperuserMenu->isEnabled());
    EXPECT_FALSE(main->ChangePassSuperuserAction->isEnabled());
    EXPECT_FALSE(main->ExitSupermodeAction->isEnabled());

    // Every setting control is off, the external power control too (locked).
    const std::vector<QWidget*> settingControls = {
        main->ModeCB, main->TriggerModeCB, main->RunModeCB, main->LinLogRG, main->FreqFullRangeB,
        main->PowFullRangeB, main->AllowLimitPowerCB, main->PowLimit, main->AttStrategyCB, main->EPCCB,
        main->SyncOutModeCB, main->SyncOutCB, main->SyncInCB, main->ERGCB, main->RGFreqCB, main->PMModeCB,
        main->SingleModGroupBox, main->PacketModGroupBox, main->SweepPB, main->ListLV, main->ProfLV};
    for (QWidget* control : settingControls) EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    for (int i = 0; i < kEditCount; ++i) {
        EXPECT_FALSE(main->Edit(i)->isEnabled()) << EditName(i);
        // Locked settings are not shown.
        EXPECT_TRUE(std::isnan(main->Edit(i)->GetValue())) << EditName(i);
        EXPECT_FALSE(main->Edit(i)->GetChangedVal()) << EditName(i);
    }
    for (QAction* action : {main->NewProfileListAction, main->OpenProfileListAction, main->SaveProfileListAction,
                            main->AddProfileAction, main->UpdateProfileAction, main->EditProfileAction,
                            main->DelProfileAction, main->ApplyProfileAction, main->DefaultProfileAction,
                            main->NewListAction, main->OpenListAction, main->OpenListAndAddAction,
                            main->SaveListAction, main->AddLineAction, main->EditLineAction, main->DeleteLineAction}) {
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
    }
    EXPECT_EQ(main->ModeCB->currentIndex(), 0);
    EXPECT_EQ(main->SyncOutModeCB->currentIndex(), 0);
    EXPECT_EQ(main->RGFreqCB->currentIndex(), -1);
    EXPECT_FALSE(main->ERGCB->isChecked() || main->EPCCB->isChecked() || main->SyncInCB->isChecked() ||
                 main->SyncOutCB->isChecked() || main->AllowLimitPowerCB->isChecked());
    for (korvel::TKvIndicator* lamp : {main->CaptureInd, main->LevelInd, main->PowInd}) EXPECT_FALSE(lamp->Active());

    // Nothing to summarise yet.
    for (QTreeWidget* list : {main->ParamsLV1, main->ParamsLV2}) {
        ASSERT_EQ(list->topLevelItemCount(), 7);
        for (int i = 0; i < 7; ++i) EXPECT_EQ(list->topLevelItem(i)->text(1), QStringLiteral("---"));
    }
    EXPECT_EQ(main->ParamsLV1->topLevelItem(0)->text(0), QString::fromUtf8("Количество точек"));
    EXPECT_EQ(main->ParamsLV2->topLevelItem(6)->text(0), QString::fromUtf8("Частота внешнего ОГ"));
    EXPECT_EQ(main->minimumSize(), QSize(920, 590));
}

TEST_F(MainWindowTest, ControlColumnPanelsInTheirOrderWithPulseModulationHidden) {
    const auto main = MakeMain();
    const std::vector<std::pair<QString, QString>> expected = {
        {"ControlPan", QString::fromUtf8("Управление")},    {"FreqPan", QString::fromUtf8("Частота")},
        {"PowPan", QString::fromUtf8("Мощность")},          {"SyncPan", QString::fromUtf8("Синхронизация")},
        {"OGPan", QString::fromUtf8("Опорный генератор")}, {"PMPan", QString::fromUtf8("Импульсная модуляция")},
    };
    const auto shown = main->ControlPS->PanelsInDisplayOrder();
    ASSERT_EQ(shown.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(shown[i]->objectName(), expected[i].first);
        EXPECT_EQ(shown[i]->Caption(), expected[i].second);
        EXPECT_EQ(shown[i]->OrderIndex(), static_cast<int>(i));
        EXPECT_EQ(main->ControlPS->IndexOf(shown[i]), static_cast<int>(i));
    }
    EXPECT_FALSE(main->PMPan->IsPanelVisible());
    EXPECT_TRUE(main->PMPan->Collapsed());
    EXPECT_FALSE(main->PanelToggles[5]->isVisible());
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(shown[static_cast<std::size_t>(i)]->IsPanelVisible());
}

TEST_F(MainWindowTest, NumericEditTableInItsOrderWithUnitsAndRanges) {
    const auto main = MakeMain();
    const char* order[] = {"edtStart",  "edtStop",      "edtCenter",      "edtSpan",       "edtPoints",
                           "PowStart",  "PowStop",      "PowCenter",      "PowSpan",       "PowPoints",
                           "DwellEdit", "SyncTimeEdit", "PhaseDelayEdit", "TauSingleEdit", "PeriodSingleEdit",
                           "QSingleEdit", "PeriodPacketEdit"};
    for (int i = 0; i < kEditCount; ++i) {
        ASSERT_NE(main->Edit(i), nullptr);
        EXPECT_EQ(main->Edit(i)->objectName(), QString::fromLatin1(order[i]));
        EXPECT_EQ(main->EditIndex(main->Edit(i)), i);
    }
    EXPECT_EQ(main->Edit(kEditCount), nullptr);
    EXPECT_EQ(main->Edit(-1), nullptr);
    EXPECT_EQ(main->EditIndex(main->PowLimit), kNoEdit);

    struct SExpected {
        int edit;
        korvel::EUnits units;
        double min;
        double max;
    };
    const SExpected limits[] = {
        {eiStart, korvel::EUnits::Frequency, 0.0, 110000000001.0}, {eiSpan, korvel::EUnits::Frequency, 0.0, 110000000001.0},
        {eiPoints, korvel::EUnits::None, 1.0, 100001.0},          {eiPowStart, korvel::EUnits::Level, -130.0, 35.0},
        {eiPowSpan, korvel::EUnits::Decibel, 0.0, 150.0},         {eiDwell, korvel::EUnits::Time, 0.00001, 4.0},
        {eiSyncTime, korvel::EUnits::Time, 0.000001, 0.000255},   {eiPhase, korvel::EUnits::Degree, -180.0, 180.0},
        {eiTau, korvel::EUnits::Time, 0.00000002, 4.0},           {eiPeriodPacket, korvel::EUnits::Time, 0.00000004, 4.0},
        {eiQ, korvel::EUnits::None, 1.0, 4000000000.0},
    };
    for (const SExpected& e : limits) {
        const korvel::TKvSpinEdit* edit = main->Edit(e.edit);
        EXPECT_EQ(edit->Units(), e.units) << EditName(e.edit);
        EXPECT_DOUBLE_EQ(edit->MinValue(), e.min) << EditName(e.edit);
        EXPECT_DOUBLE_EQ(edit->MaxValue(), e.max) << EditName(e.edit);
    }
    EXPECT_EQ(main->PowLimit->Units(), korvel::EUnits::Level);
    EXPECT_DOUBLE_EQ(main->PowLimit->MinValue(), -130.0);
    // Pulse times in microseconds; frequency steps of 1 MHz.
    EXPECT_EQ(main->TauSingleEdit->DisplayPower(), std::optional<int>(-6));
    EXPECT_DOUBLE_EQ(main->edtStart->Increment(), 1000000.0);
    EXPECT_EQ(main->edtStart->IncPow(), 6);
    EXPECT_TRUE(main->edtStart->StepChangeEnabled());
    EXPECT_EQ(main->PeriodSingleEdit->Label(), QString::fromUtf8("Период повторения импульсa"));
}

TEST_F(MainWindowTest, SelectorsCarryTheEnumerationTexts) {
    const auto main = MakeMain();
    const auto check = [](QComboBox* combo, std::span<const char* const> items) {
        ASSERT_EQ(combo->count(), static_cast<int>(items.size())) << combo->objectName().toStdString();
        for (int i = 0; i < combo->count(); ++i) {
            EXPECT_EQ(combo->itemText(i), QString::fromUtf8(items[static_cast<std::size_t>(i)]));
        }
    };
    check(main->ModeCB, kOperatingModeItems);
    check(main->TriggerModeCB, kTriggerModeItems);
    check(main->RunModeCB, kRunModeItems);
    check(main->AttStrategyCB, kAttStrategyItems);
    check(main->SyncOutModeCB, kSyncOutModeItems);
    check(main->RGFreqCB, kRefFrequencyItems);
    check(main->PMModeCB, kPulseModeItems);
    ASSERT_EQ(main->LinLogRG->Count(), 2);
    EXPECT_EQ(main->LinLogRG->ItemText(1), QString::fromUtf8("Логарифмический"));
}

TEST_F(MainWindowTest, ExitAsksAndNoLeavesEverythingAsItWas) {
    const auto main = MakeMain();
    prompt_.QueueAnswer(EPromptResult::No);
    main->ExitAction->trigger();
    ASSERT_EQ(prompt_.Shown().size(), 1u);
    const SPromptMessage& asked = prompt_.Shown().front();
    EXPECT_EQ(asked.caption, "Подтверждение закрытия программы");
    EXPECT_EQ(asked.text, "Программа будет закрыта. Продолжить?");
    EXPECT_EQ(asked.icon, EPromptIcon::Question);
    EXPECT_EQ(asked.buttons, EPromptButtons::YesNo);
    EXPECT_EQ(terminateRequests_, 0);
    EXPECT_TRUE(main->ConnectAction->isEnabled());

    prompt_.QueueAnswer(EPromptResult::Yes);
    main->ExitAction->trigger();
    EXPECT_EQ(terminateRequests_, 1);
}

TEST(MainWindowEnd, ExitYesEndsTheEventLoopAndClosesTheWindow) {
    z5rtest::UserFolders folders;
    z5rtest::TempDir appDir;
    SetApplicationDirOverride(appDir.Str());
    z5rtest::WriteInitialDefaultList(appDir.Str());
    SetupCatalogue(APP_LOCALE_DIR, "ru");
    CScriptedPrompt prompt(EPromptResult::Yes);
    STMainOptions options;
    options.prompt = &prompt;
    options.runModal = [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
    TMain main(std::move(options));  // the real end: QCoreApplication::quit
    main.show();
    QTimer::singleShot(0, &main, [&main] { main.ExitAction->trigger(); });
    // A loop left by anything else would return 7.
    QTimer::singleShot(5000, &main, [] { QCoreApplication::exit(7); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(prompt.Shown().size(), 1u);
    SetApplicationDirOverride("");
}

TEST_F(MainWindowTest, CommandLineIsReadWhenTheWindowIsCreated) {
    EXPECT_EQ(MakeMain({"-a", "10.0.0.5", "-p", "x"})->State().startAddress, "10.0.0.5");
    EXPECT_EQ(MakeMain({"-a", "10.0.0.5", "-p", "x"})->State().startProfileArg, "x");
    EXPECT_EQ(MakeMain({"-a", "-p", "x"})->State().startAddress, "");
    EXPECT_EQ(MakeMain({"-a", "1.1.1.1", "-a", "2.2.2.2"})->State().startAddress, "2.2.2.2");
}

TEST_F(MainWindowTest, ShowingTheWindowRunsTheConnectActionOnce) {
    const auto main = MakeMain();
    main->show();
    EXPECT_TRUE(main->State().formShown);
    ASSERT_TRUE(WaitFor([this] { return !modalShown_.empty(); })) << "the connection dialog never came up";
    korvel::TFormConnect* dialog = main->ConnectDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(modalShown_.front(), dialog);
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Подключение к прибору Z5R"));
    EXPECT_EQ(dialog->Interface(), QStringLiteral("TCP"));
    EXPECT_EQ(dialog->SearchName(), QStringLiteral("Z5R"));
    EXPECT_TRUE(dialog->AutoConnectAllowed());
    EXPECT_EQ(dialog->State(), korvel::csIdle);
    EXPECT_TRUE(main->State().firstConnect);
    // The dialog's settings file: copied from the program folder.
    EXPECT_TRUE(std::filesystem::exists(folders_.ConfigHome() / "Korvel" / "Z5R_Client" / "config.xml"));

    // Back in the window after the dialog: no second dialog.
    QApplication::processEvents();
    EXPECT_EQ(modalShown_.size(), 1u);
}

TEST_F(MainWindowTest, StartAddressIsConnectedFirstAndAFailureShowsTheDialogWithTheReason) {
    const auto main = MakeMain({"-a", "10.0.0.5"});
    main->ConnectActionExecute();
    ASSERT_EQ(modalShown_.size(), 1u);
    EXPECT_FALSE(main->ConnectDialog()->ErrorText().isEmpty());
    EXPECT_EQ(main->State().startAddress, "");
    EXPECT_FALSE(main->State().firstConnect);
    EXPECT_FALSE(main->State().connectedFlag);

    // The next action shows the dialog.
    main->ConnectActionExecute();
    EXPECT_EQ(modalShown_.size(), 2u);
}

TEST_F(MainWindowTest, StoredAddressConnectsAutomaticallyOnlyTheFirstTime) {
    const auto dir = folders_.ConfigHome() / "Korvel" / "Z5R_Client";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "config.xml")
        << "<connection><device name=\"Z5R\" autoconnect=\"true\" address=\"10.1.2.3\"/></connection>\n";
    const auto main = MakeMain();
    main->ConnectActionExecute();
    EXPECT_FALSE(main->State().firstConnect);  // the automatic connection was tried
    ASSERT_EQ(modalShown_.size(), 1u);         // and, failing, brought the dialog up
    EXPECT_FALSE(main->ConnectDialog()->ErrorText().isEmpty());

    main->ConnectActionExecute();
    EXPECT_EQ(modalShown_.size(), 2u);
}

TEST_F(MainWindowTest, CompactViewAndBackToTheFullView) {
    const auto main = MakeMain();
    main->show();
    main->CompactViewAction->trigger();
    EXPECT_FALSE(main->LeftPanel->isVisible());
    EXPECT_EQ(main->maximumWidth(), 285);
    EXPECT_EQ(main->minimumSize(), QSize(285, 140));
    EXPECT_FALSE(main->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

    main->FullViewAction->trigger();
    EXPECT_TRUE(main->LeftPanel->isVisible());
    EXPECT_EQ(main->minimumSize(), QSize(920, 590));
    EXPECT_EQ(main->width(), 920);
    EXPECT_TRUE(main->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(main->windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
}

TEST_F(MainWindowTest, HideAllAndRestoreAllLeaveThePulsePanelToTheInstrument) {
    const auto main = MakeMain();
    main->HideAllAction->trigger();
    for (auto* panel : main->ControlPS->PanelsInDisplayOrder()) EXPECT_FALSE(panel->IsPanelVisible());
    for (QAction* toggle : main->PanelToggles) EXPECT_FALSE(toggle->isChecked());

    main->RestoreAllAction->trigger();
    const auto panels = main->ControlPS->PanelsInDisplayOrder();
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(panels[static_cast<std::size_t>(i)]->IsPanelVisible());
    EXPECT_FALSE(main->PMPan->IsPanelVisible());

    main->PanelToggles[1]->trigger();  // "Частота" off
    EXPECT_FALSE(main->FreqPan->IsPanelVisible());
}

}  // namespace
}  // namespace z5r
