// The main window's wiring to its controller against the simulated instrument
// through the real driver: the connection dialog, the status bar, the poll's
// readouts and the external reference's check box. The poll's decisions are
// tested on the controller.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>

#include "connection_fixture.h"
#include "instrument_limits.h"
#include "korvel/components/form_connect.h"
#include "korvel/components/kv_indicator.h"
#include "korvel/components/kv_spin_edit.h"

namespace z5rtest {
namespace {

const char* const kLostReference =
    "Потерян захват частоты внешнего опорного генератора. Прибор переключен на внутренний опорный генератор.";
const char* const kNotFound =
    "Прибор не найден. Необходимо проверить правильность заданного адреса и состояние прибора.";

TEST_F(ConnectionTest, StartAddressConnectsWithoutTheDialogAndFillsTheStatusBar) {
    z5r::TMain& main = MakeConnectedMain();
    EXPECT_TRUE(modalShown_.empty());
    EXPECT_EQ(main.State().currentAddress, "127.0.0.1");
    EXPECT_GE(std::stoi(SimState("Connections")), 1);

    EXPECT_EQ(main.ConnectLabelItem->text(), Q("Подключен"));
    EXPECT_EQ(main.IPLabelItem->text(), Q("IP: 127.0.0.1"));
    EXPECT_EQ(main.SNLabelItem->text(), Q("с/н: ") + QString::fromStdString(SimState("SerialNumber")));
    EXPECT_FALSE(main.NameLabelItem->text().isEmpty());
    EXPECT_NE(main.NameLabelItem->text(), Q("-------"));

    EXPECT_TRUE(main.DisconnectAction->isEnabled());
    EXPECT_TRUE(main.EnableRFAction->isEnabled());
    EXPECT_FALSE(main.ConnectAction->isEnabled());
    EXPECT_TRUE(main.Timer1->isActive());
    EXPECT_EQ(main.Timer1->interval(), 1000);
    ASSERT_NE(main.ConnectDialog(), nullptr);
    EXPECT_EQ(main.ConnectDialog()->State(), korvel::csConnected);
    EXPECT_FALSE(main.State().settingsLocked);
    EXPECT_FALSE(main.State().controlsOff);

    // F7 while connected: the action is off and nothing connects again.
    const std::string connections = SimState("Connections");
    main.ConnectAction->trigger();
    EXPECT_TRUE(modalShown_.empty());
    EXPECT_EQ(SimState("Connections"), connections);
    EXPECT_TRUE(main.State().connectedFlag);

    main.DisconnectAction->trigger();
    EXPECT_FALSE(main.State().connectedFlag);
    EXPECT_EQ(main.ConnectLabelItem->text(), Q("Отключен"));
    EXPECT_EQ(main.IPLabelItem->text(), Q("IP: ---.---.---.---"));
    EXPECT_EQ(main.SNLabelItem->text(), Q("с/н: --------"));  // eight dashes, not the nine of the start
    EXPECT_EQ(main.NameLabelItem->text(), Q("--------"));
    EXPECT_FALSE(main.DisconnectAction->isEnabled());
    EXPECT_FALSE(main.EnableRFAction->isEnabled());
    EXPECT_TRUE(main.ConnectAction->isEnabled());
    EXPECT_FALSE(main.Timer1->isActive());
    EXPECT_FALSE(main.CaptureInd->Active());
    EXPECT_TRUE(main.State().controlsOff);
    EXPECT_EQ(main.ConnectDialog()->State(), korvel::csDisconnected);
    EXPECT_EQ(SimState("RfOutputEnabled"), "0");
}

TEST_F(ConnectionTest, TheInstrumentsLimitsReachTheWindow) {
    z5r::TMain& main = MakeConnectedMain();
    EXPECT_EQ(main.State().limits.minFreq, double(z5rsim::kMinFrequencyHz));
    EXPECT_EQ(main.State().limits.maxFreq, double(z5rsim::kMaxFrequencyHz));
    EXPECT_EQ(main.State().limits.maxPoints, double(z5rsim::kMaxSweepPoints));
    EXPECT_DOUBLE_EQ(main.State().limits.minPow, z5rsim::kMinLevelCdb / 100.0);
    EXPECT_EQ(main.edtStop->MaxValue(), double(z5rsim::kMaxFrequencyHz));
    EXPECT_EQ(main.edtStart->MinValue(), double(z5rsim::kMinFrequencyHz));
}

TEST_F(ConnectionTest, ARefusedAddressShowsTheDialogWithTheReason) {
    PointAtPort(UnusedPort());
    z5r::TMain& main = MakeMain({"-a", "127.0.0.1"});
    main.ConnectActionExecute();
    ASSERT_EQ(modalShown_.size(), 1u);
    EXPECT_EQ(modalShown_.front(), main.ConnectDialog());
    EXPECT_EQ(main.ConnectDialog()->ErrorText(), Q(kNotFound));
    EXPECT_FALSE(main.State().connectedFlag);
    EXPECT_TRUE(main.ConnectAction->isEnabled());
    EXPECT_FALSE(main.Timer1->isActive());
    EXPECT_EQ(main.ConnectLabelItem->text(), Q("Отключен"));
}

TEST_F(ConnectionTest, AStoredAddressConnectsAutomaticallyOnTheFirstAction) {
    const auto dir = folders_.ConfigHome() / "Korvel" / "Z5R_Client";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "config.xml")
        << "<connection><device name=\"Z5R\" autoconnect=\"true\" address=\"127.0.0.1\"/></connection>\n";
    z5r::TMain& main = MakeMain();
    main.ConnectActionExecute();
    EXPECT_TRUE(modalShown_.empty());
    EXPECT_TRUE(main.State().connectedFlag) << LastMessage();
    EXPECT_FALSE(main.State().firstConnect);
    EXPECT_EQ(main.ConnectDialog()->State(), korvel::csConnected);

    // After a disconnection the next action shows the dialog.
    main.DisconnectActionExecute();
    main.ConnectActionExecute();
    EXPECT_EQ(modalShown_.size(), 1u);
    EXPECT_EQ(main.ConnectDialog()->State(), korvel::csIdle);
}

TEST_F(ConnectionTest, ClosingTheWindowDisconnects) {
    z5r::TMain& main = MakeConnectedMain();
    main.show();
    main.close();
    EXPECT_FALSE(main.State().connectedFlag);
    EXPECT_FALSE(main.Timer1->isActive());
    EXPECT_EQ(main.ConnectLabelItem->text(), Q("Отключен"));
}

TEST_F(ConnectionTest, ThePollShowsTheInstrumentsState) {
    z5r::TMain& main = MakeConnectedMain();
    sim_->Control("rf-button on");
    main.Timer1Timer();
    EXPECT_EQ(main.SVCHLabelItem->text(), Q("Кнопка СВЧ: вкл"));
    EXPECT_TRUE(main.CaptureInd->Active());
    EXPECT_FALSE(main.PowInd->Active());  // the output is off
    EXPECT_FALSE(main.LevelInd->Active());

    sim_->Control("rf-button off");
    main.Timer1Timer();
    EXPECT_EQ(main.SVCHLabelItem->text(), Q("Кнопка СВЧ: выкл"));
    EXPECT_TRUE(prompt_.Shown().empty()) << LastMessage();
}

TEST_F(ConnectionTest, ALostReferenceIsReportedOnceAndSwitchesTheOutputOff) {
    z5r::TMain& main = MakeConnectedMain();
    main.ERGCB->click();
    ASSERT_TRUE(main.CurrentProfile().syncparams.erg) << LastMessage();
    ASSERT_EQ(SimState("ExtRefEnabled"), "1");
    main.EnableRFAction->trigger();
    ASSERT_EQ(SimState("RfOutputEnabled"), "1");
    prompt_.ClearShown();

    sim_->Control("lose-ref");
    for (int tick = 0; tick < 3; ++tick) main.Timer1Timer();
    ASSERT_EQ(MessagesWithText(kLostReference), 1);
    const z5r::SPromptMessage& message = prompt_.Shown().front();
    EXPECT_EQ(message.caption, "Ошибка");
    EXPECT_EQ(message.icon, z5r::EPromptIcon::Error);
    EXPECT_TRUE(message.flags & z5r::pfNoOwner);
    EXPECT_FALSE(main.CurrentProfile().syncparams.erg);
    EXPECT_FALSE(main.ERGCB->isChecked());
    EXPECT_EQ(SimState("RfOutputEnabled"), "0");
    EXPECT_TRUE(main.State().connectedFlag);
}

}  // namespace
}  // namespace z5rtest
