// The pulse modulation panel of the main window wired to the controller:
// shown only for an instrument with pulse modulation, its selector and its
// packet button reaching the simulated instrument, and the red packet period.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "connection_fixture.h"
#include "core/profile_enums.h"
#include "korvel/components/kv_spin_edit.h"
#include "korvel/components/roll_panel.h"
#include "packetparams.h"

namespace z5rtest {
namespace {

const char* const kNoPacket = "Пачка радиоимпульсов не задана";

class PulsePanelWindowTest : public ConnectionTest {
protected:
    z5r::TMain& Connected() {
        z5r::TMain& main = MakeMain({"-a", "127.0.0.1"});
        main.show();
        if (!main.State().connectedFlag) main.ConnectActionExecute();
        EXPECT_TRUE(WaitFor([&] { return main.State().connectedFlag; })) << LastMessage();
        main.Timer1->stop();
        prompt_.ClearShown();
        return main;
    }
    static QColor PeriodColour(const z5r::TMain& main) {
        return main.PeriodPacketEdit->LineEdit()->palette().color(QPalette::Base);
    }
};

TEST_F(PulsePanelWindowTest, TheSelectorSendsThePeriodicPulsesAndEnablesTheirGroup) {
    z5r::TMain& main = Connected();
    EXPECT_TRUE(main.PMPan->isVisible());
    main.PMModeCB->setCurrentIndex(z5r::pmPeriodic);
    EXPECT_EQ(SimState("PulseModEnabled"), "1");
    EXPECT_TRUE(main.SingleModGroupBox->isEnabled());
    EXPECT_FALSE(main.PacketModGroupBox->isEnabled());

    // Typing couples the duty factor; confirming sends.
    main.TauSingleEdit->SetValue(1e-6);
    main.PeriodSingleEdit->SetValue(5e-6);
    EXPECT_DOUBLE_EQ(main.QSingleEdit->GetValue(), 5.0);
    main.OnEditValidate(main.PeriodSingleEdit);
    EXPECT_NEAR(std::stod(SimState("PulsePeriod")), 5e-6, 1e-12);
    EXPECT_NEAR(std::stod(SimState("PulseWidth")), 1e-6, 1e-12);
}

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
    main.OnEditValidate(main.PeriodPacketEdit);
    EXPECT_EQ(PeriodColour(main), QColor(Qt::red));
    EXPECT_NEAR(std::stod(SimState("PulsePeriod")), 25e-6, 1e-12);
}

}  // namespace
}  // namespace z5rtest
