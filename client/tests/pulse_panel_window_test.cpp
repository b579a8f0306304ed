// The pulse modulation panel of the main window wired to the controller:
// shown only for an instrument with pulse modulation, its selector and its
// packet button reaching the simulated instrument, and the red packet period.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "connection_fixture.h"
#include "core/profile_enums.h"
#include "korvel/components/kv_spin_edit.h"
#include "korvel/components/roll_panel.h"
#include "model/pulse_panel.h"
#include "packetparams.h"

namespace z5rtest {
namespace {

const char* const kNoPacket = "Пачка радиоимпульсов не задана";

class PulsePanelWindowTest : public ConnectionTest {
protected:
    z5r::TMain& Connected() { return ShownConnectedMain(); }
    static QColor PeriodColour(const z5r::TMain& main) {
        return main.PeriodPacketEdit->LineEdit()->palette().color(QPalette::Base);
    }
};

TEST_F(PulsePanelWindowTest, TheSelectorSendsThePeriodicPulsesAndEnablesTheirGroup) {
    z5r::TMain& main = Connected();
    EXPECT_TRUE(main.PMPan->isVisible());
    // The initial 4 µs pulses every 4 µs get the shortest pause, and the edit shows it.
    main.PMModeCB->setCurrentIndex(z5r::pmPeriodic);
    EXPECT_EQ(SimState("PulseModEnabled"), "1");
    EXPECT_NEAR(std::stod(SimState("PulsePeriod")), 4.02e-6, 1e-12);
    EXPECT_NEAR(main.PeriodSingleEdit->GetValue(), 4.02e-6, 1e-12);
    EXPECT_TRUE(main.SingleModGroupBox->isEnabled());
    EXPECT_FALSE(main.PacketModGroupBox->isEnabled());

    // Typing couples the duty factor; confirming sends.
    main.TauSingleEdit->SetValue(1e-6);
    main.PeriodSingleEdit->SetValue(5e-6);
    EXPECT_DOUBLE_EQ(main.QSingleEdit->GetValue(), 5.0);
    main.PeriodSingleEdit->OnValidate(main.PeriodSingleEdit);
    EXPECT_NEAR(std::stod(SimState("PulsePeriod")), 5e-6, 1e-12);
    EXPECT_NEAR(std::stod(SimState("PulseWidth")), 1e-6, 1e-12);
}

// The operator answers the question with `answer`.
class PulsesOutsideTheFixedMode : public PulsePanelWindowTest,
                                  public ::testing::WithParamInterface<z5r::EPromptResult> {};

TEST_P(PulsesOutsideTheFixedMode, ASweepAsksAndYesReturnsToTheFixedModeWhileNoEndsThePulses) {
    z5r::TMain& main = Connected();
    const bool yes = GetParam() == z5r::EPromptResult::Yes;
    prompt_.SetDefaultAnswer(GetParam());
    main.PMModeCB->setCurrentIndex(z5r::pmPeriodic);
    ASSERT_EQ(SimState("PulseModEnabled"), "1");

    main.ModeCB->setCurrentIndex(z5r::omFrequencySweep);
    EXPECT_EQ(prompt_.ShownTexts(), std::vector<std::string>{z5r::FixedModeQuestion()});
    EXPECT_EQ(main.ModeCB->currentIndex(), yes ? z5r::omFixed : z5r::omFrequencySweep);
    EXPECT_EQ(main.CurrentProfile().controlparams.mode, yes ? z5r::omFixed : z5r::omFrequencySweep);
    EXPECT_EQ(main.PMModeCB->currentIndex(), yes ? z5r::pmPeriodic : z5r::pmNone);
    // Yes leaves the pulses to the next confirmation; No switches them off.
    EXPECT_EQ(SimState("PulseModEnabled"), yes ? "1" : "0");
}

INSTANTIATE_TEST_SUITE_P(BothAnswers, PulsesOutsideTheFixedMode,
                         ::testing::Values(z5r::EPromptResult::Yes, z5r::EPromptResult::No),
                         [](const auto& info) { return info.param == z5r::EPromptResult::Yes ? "Yes" : "No"; });

TEST_F(PulsePanelWindowTest, AnInstrumentWithoutPulseModulationHidesThePanel) {
    sim_ = std::make_unique<drvtest::CSimulator>(std::vector<std::string>{"--no-pulse"});
    ASSERT_TRUE(sim_->Started());
    PointAtPort(sim_->Port());
    z5r::TMain& main = Connected();
    EXPECT_FALSE(main.PMPan->isVisible());
}

TEST_F(PulsePanelWindowTest, TheEditorsPacketIsSentAndATooShortPeriodTurnsTheEditRed) {
    z5r::TMain& main = Connected();
    z5r::TPacketParamsForm form{prompt_};
    z5r::SDialogs dialogs = main.Dialogs();
    dialogs.packetParams = &form;
    main.SetDialogs(dialogs);
    // The operator adds two default pulses (10 µs each) and a period of 25 µs.
    form.SetRunModal([&form](QDialog&) {
        form.AddActionExecute();
        form.AddActionExecute();
        form.PeriodPacketEdit->SetValue(25e-6);
        form.OkButtonClick();
        return static_cast<int>(QDialog::Accepted);
    });

    main.PMModeCB->setCurrentIndex(z5r::pmPacket);
    EXPECT_EQ(MessagesWithText(kNoPacket), 1);
    ASSERT_TRUE(main.PacketModGroupBox->isEnabled());
    main.PacketParamsButton->click();
    EXPECT_EQ(SimState("PacketWidths"), "0.000001,0.000001");
    EXPECT_NEAR(std::stod(SimState("PulsePeriod")), 25e-6, 1e-12);
    EXPECT_EQ(PeriodColour(main), QColor(Qt::white));

    main.PeriodPacketEdit->SetValue(15e-6);
    main.PeriodPacketEdit->SetChangedVal(true);
    main.PeriodPacketEdit->OnValidate(main.PeriodPacketEdit);
    EXPECT_EQ(PeriodColour(main), QColor(Qt::red));
    EXPECT_NEAR(std::stod(SimState("PulsePeriod")), 25e-6, 1e-12);
}

}  // namespace
}  // namespace z5rtest
