// The setting controls of the main window against the real driver plugin and
// the simulated instrument: entries typed into the edits as an operator types
// them, the handlers of the selectors and check boxes and manual stepping,
// each checked on what the instrument holds.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdlib>
#include <string>

#include "connection_fixture.h"
#include "core/profile_enums.h"
#include "korvel/components/kv_label.h"
#include "korvel/components/kv_spin_edit.h"
#include "ui/radio_group.h"
#include "window_images.h"

namespace z5rtest {
namespace {

using korvel::TKvSpinEdit;

class SettingsTest : public ConnectionTest {
protected:
    // A shown window connected to the simulator, the status poll stopped so
    // that only the handlers talk to the instrument.
    z5r::TMain& Connected() {
        z5r::TMain& main = ShownConnectedMain();
        EXPECT_TRUE(main.State().formShown);
        return main;
    }

    // Types `text` into an edit as the operator does and confirms with Enter.
    static void Type(TKvSpinEdit* edit, const char* text) {
        QLineEdit* line = edit->LineEdit();
        line->setFocus();
        line->selectAll();
        QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(line, Qt::Key_Backspace);
        // Key clicks carry Latin keys only; other letters arrive as text.
        for (const QChar c : QString::fromUtf8(text)) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(line, c.toLatin1());
            } else {
                QTest::sendKeyEvent(QTest::Press, line, Qt::Key_unknown, QString(c), Qt::NoModifier);
                QTest::sendKeyEvent(QTest::Release, line, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        }
        QTest::keyClick(line, Qt::Key_Return);
    }

    static void Select(QComboBox* combo, int index) {
        combo->setCurrentIndex(index);
    }

    double SimNumber(const std::string& key) {
        const std::string text = SimState(key);
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        EXPECT_TRUE(end != text.c_str()) << key << " = " << text;
        return value;
    }
    std::size_t SimListLength(const std::string& key) {
        const std::string text = SimState(key);
        if (text.empty()) return 0;
        std::size_t count = 1;
        for (char c : text) count += c == ',' ? 1 : 0;
        return count;
    }
};

TEST_F(SettingsTest, RangeCouplingFollowsTheOperatorsTypingAndReachesTheInstrument) {
    z5r::TMain& main = Connected();
    Select(main.ModeCB, z5r::omFrequencySweep);
    EXPECT_EQ(SimNumber("SweepMode"), 3.0);
    ASSERT_TRUE(main.edtStart->isEnabled());

    Type(main.edtPoints, "11");
    Type(main.edtStart, "1 ГГц");
    Type(main.edtStop, "2 ГГц");
    EXPECT_DOUBLE_EQ(main.edtCenter->GetValue(), 1.5e9);
    EXPECT_DOUBLE_EQ(main.edtSpan->GetValue(), 1e9);
    EXPECT_EQ(SimNumber("SweepStartFrequency"), 1e9);
    EXPECT_EQ(SimNumber("SweepStopFrequency"), 2e9);
    EXPECT_EQ(SimNumber("SweepStepFrequency"), 1e8);
    EXPECT_EQ(main.CurrentProfile().freqparams.fix, 1.5e9);

    // A stop below the start: the span stays positive.
    Type(main.edtStop, "0.5 ГГц");
    EXPECT_DOUBLE_EQ(main.edtCenter->GetValue(), 0.75e9);
    EXPECT_DOUBLE_EQ(main.edtSpan->GetValue(), 0.5e9);
    EXPECT_EQ(SimNumber("SweepStopFrequency"), 0.5e9);

    // A narrower span of the downward sweep keeps its centre.
    Type(main.edtStart, "2 ГГц");
    Type(main.edtStop, "1 ГГц");
    Type(main.edtSpan, "0.4 ГГц");
    EXPECT_DOUBLE_EQ(main.edtStart->GetValue(), 1.7e9);
    EXPECT_DOUBLE_EQ(main.edtStop->GetValue(), 1.3e9);
    EXPECT_EQ(SimNumber("SweepStartFrequency"), 1.7e9);
    EXPECT_EQ(SimNumber("SweepStopFrequency"), 1.3e9);
    EXPECT_TRUE(prompt_.Shown().empty()) << LastMessage();
}

TEST_F(SettingsTest, FixedValuesPhaseAndCeilingAreSentAndReadBack) {
    z5r::TMain& main = Connected();
    Select(main.ModeCB, z5r::omFixed);
    Type(main.edtCenter, "1.5 ГГц");
    EXPECT_EQ(SimNumber("CwFrequency"), 1.5e9);
    Type(main.PowCenter, "-10");
    EXPECT_DOUBLE_EQ(SimNumber("Level"), -10.0);

    // Whole degrees only; the edit shows what was sent.
    Type(main.PhaseDelayEdit, "45.9");
    EXPECT_EQ(SimNumber("PhaseOffset"), 45.0);
    EXPECT_DOUBLE_EQ(main.PhaseDelayEdit->GetValue(), 45.0);

    // A ceiling below the level clamps it at once.
    Type(main.PowLimit, "-20");
    main.AllowLimitPowerCB->click();
    EXPECT_FALSE(main.PowLimit->isEnabled());
    EXPECT_DOUBLE_EQ(SimNumber("Level"), -20.0);
    EXPECT_DOUBLE_EQ(main.PowCenter->GetValue(), -20.0);
    Type(main.PowCenter, "0");
    EXPECT_DOUBLE_EQ(SimNumber("Level"), -20.0);
}

TEST_F(SettingsTest, SelectorsAndCheckBoxesReachTheInstrument) {
    z5r::TMain& main = Connected();
    Select(main.ModeCB, z5r::omFrequencySweep);
    Select(main.TriggerModeCB, z5r::tmExternal);
    EXPECT_EQ(SimNumber("TriggerSource"), 1.0);
    Type(main.DwellEdit, "10 мс");
    EXPECT_DOUBLE_EQ(SimNumber("FrequencyDwell"), 0.01);

    Select(main.SyncOutModeCB, z5r::soSyncInRepeat);
    EXPECT_EQ(SimNumber("SyncOutEnabled"), 1.0);
    EXPECT_EQ(SimNumber("SyncOutMode"), 1.0);
    EXPECT_FALSE(main.SyncTimeEdit->isEnabled());
    Select(main.SyncOutModeCB, z5r::soSweepStart);
    EXPECT_EQ(SimNumber("SyncOutMode"), 1001.0);
    EXPECT_TRUE(main.SyncTimeEdit->isEnabled());
    Type(main.SyncTimeEdit, "5 мкс");
    EXPECT_DOUBLE_EQ(SimNumber("SyncOutDuration"), 5e-6);

    main.SyncOutCB->click();
    EXPECT_EQ(SimNumber("SyncOutInverted"), 1.0);
    main.SyncInCB->click();
    EXPECT_EQ(SimNumber("TriggerInputInverted"), 1.0);
    main.EPCCB->click();
    EXPECT_EQ(SimNumber("ExtPowerControl"), 1.0);

    ASSERT_TRUE(main.AttStrategyCB->isEnabled());
    Select(main.AttStrategyCB, z5r::asMinSwitching);
    EXPECT_EQ(SimNumber("AttStrategy"), 3.0);
    EXPECT_EQ(main.CurrentProfile().powparams.strategy, z5r::asMinSwitching);
    EXPECT_TRUE(prompt_.Shown().empty()) << LastMessage();
}

TEST_F(SettingsTest, ExternalReferenceSendsTheChosenFrequency) {
    z5r::TMain& main = Connected();
    Select(main.RGFreqCB, z5r::rf10MHz);
    main.ERGCB->click();
    EXPECT_EQ(SimNumber("ExtRefFrequency"), 10e6);
    EXPECT_EQ(SimNumber("ExtRefEnabled"), 1.0);
    EXPECT_TRUE(main.CurrentProfile().syncparams.erg);
    EXPECT_FALSE(main.RGFreqCB->isEnabled());
    EXPECT_TRUE(prompt_.Shown().empty()) << LastMessage();

    main.ERGCB->click();
    EXPECT_EQ(SimNumber("ExtRefEnabled"), 0.0);
    EXPECT_TRUE(main.RGFreqCB->isEnabled());
}

TEST_F(SettingsTest, RfOutputTogglesAndAModeChangeSwitchesItOff) {
    z5r::TMain& main = Connected();
    main.EnableRFAction->trigger();
    EXPECT_TRUE(main.State().rfEnabled);
    EXPECT_TRUE(main.EnableRFAction->isChecked());
    EXPECT_EQ(SimNumber("RfOutputEnabled"), 1.0);
    main.EnableRFAction->trigger();
    EXPECT_EQ(SimNumber("RfOutputEnabled"), 0.0);
    main.EnableRFAction->trigger();
    ASSERT_EQ(SimNumber("RfOutputEnabled"), 1.0);

    Select(main.ModeCB, z5r::omPowerSweep);
    EXPECT_FALSE(main.State().rfEnabled);
    EXPECT_FALSE(main.EnableRFAction->isChecked());
    EXPECT_EQ(SimNumber("RfOutputEnabled"), 0.0);
    EXPECT_EQ(SimNumber("SweepMode"), 4.0);
}

TEST_F(SettingsTest, StateImagesShowTheModeTheTriggerTheSweepTypeAndTheRfOutput) {
    z5r::TMain& main = Connected();
    const auto shows = [](const QLabel* image, int index) {
        return image->property("imageIndex").toInt() == index &&
               image->pixmap().toImage() == z5r::StateImage(index).toImage();
    };
    Select(main.ModeCB, z5r::omPowerSweep);
    Select(main.TriggerModeCB, z5r::tmManual);
    EXPECT_TRUE(shows(main.ModeImage, 3));
    EXPECT_TRUE(shows(main.TriggerImage, 8));
    EXPECT_NE(z5r::StateImage(3).toImage(), z5r::StateImage(8).toImage());

    Select(main.ModeCB, z5r::omFrequencySweep);
    main.LinLogRG->SetItemIndex(z5r::stLog);
    const QSize size = main.LinLogRG->ItemIcon(z5r::stLog).availableSizes().value(0);
    const auto picture = [size](const QIcon& icon, QIcon::State state) {
        return icon.pixmap(size, QIcon::Normal, state).toImage();
    };
    EXPECT_EQ(picture(main.LinLogRG->ItemIcon(z5r::stLog), QIcon::Off), picture(z5r::SweepTypeImage(z5r::stLog), QIcon::On));
    EXPECT_EQ(picture(main.LinLogRG->ItemIcon(z5r::stLinear), QIcon::Off),
              picture(z5r::SweepTypeImage(z5r::stLinear), QIcon::Off));

    // The simulated instrument's RF button is pressed: switched on, the
    // output radiates.
    EXPECT_EQ(main.EnableRFAction->property("imageIndex").toInt(), z5r::tiRfOff);
    Select(main.TriggerModeCB, z5r::tmAuto);
    main.EnableRFAction->trigger();
    main.Timer1Timer();
    EXPECT_EQ(main.EnableRFAction->property("imageIndex").toInt(), z5r::tiRfOn);

    main.DisconnectAction->trigger();
    EXPECT_TRUE(shows(main.ModeImage, z5r::kStateImageNone));
    EXPECT_TRUE(shows(main.TriggerImage, z5r::kStateImageNone));
}

TEST_F(SettingsTest, TheLogarithmicSweepRunsAsAListOfAtMost5001Points) {
    z5r::TMain& main = Connected();
    Select(main.ModeCB, z5r::omFrequencySweep);
    Type(main.edtStart, "100 МГц");
    Type(main.edtStop, "10 ГГц");
    Type(main.edtPoints, "6000");
    main.LinLogRG->SetItemIndex(z5r::stLog);
    emit main.LinLogRG->itemClicked(z5r::stLog);
    EXPECT_EQ(main.edtPoints->GetValue(), 5001.0);
    EXPECT_EQ(SimNumber("SweepMode"), 5.0);
    EXPECT_EQ(SimListLength("ListFrequencies"), 5001u);
    EXPECT_TRUE(prompt_.Shown().empty()) << LastMessage();
}

TEST_F(SettingsTest, TheCombinedSweepSendsBothRangesAsOneList) {
    z5r::TMain& main = Connected();
    Select(main.ModeCB, z5r::omFrequencyPowerSweep);
    EXPECT_FALSE(main.PowPoints->isEnabled());
    Type(main.edtStart, "1 ГГц");
    Type(main.edtStop, "2 ГГц");
    Type(main.edtPoints, "3");
    Type(main.PowStart, "-10");
    Type(main.PowStop, "0");
    EXPECT_EQ(SimState("ListFrequencies").substr(0, 10), "1000000000");
    EXPECT_EQ(SimListLength("ListLevels"), 3u);
}

TEST_F(SettingsTest, ApplyingTheRecordPutsItIntoTheControlsAndTheInstrument) {
    z5r::TMain& main = Connected();
    Select(main.ModeCB, z5r::omFrequencySweep);
    Type(main.edtStart, "2 ГГц");
    Type(main.edtStop, "3 ГГц");
    Type(main.PhaseDelayEdit, "30");
    // A fresh instrument, then the record again.
    main.DisconnectActionExecute();
    ASSERT_FALSE(main.State().connectedFlag);
    StartSimulator();
    main.ConnectTo(QStringLiteral("127.0.0.1"));
    ASSERT_TRUE(main.State().connectedFlag) << LastMessage();
    main.Timer1->stop();
    EXPECT_EQ(main.ModeCB->currentIndex(), z5r::omFrequencySweep);
    EXPECT_DOUBLE_EQ(main.edtStart->GetValue(), 2e9);
    EXPECT_DOUBLE_EQ(main.edtCenter->GetValue(), 2.5e9);
    EXPECT_EQ(SimNumber("SweepStartFrequency"), 2e9);
    EXPECT_EQ(SimNumber("SweepStopFrequency"), 3e9);
    EXPECT_EQ(SimNumber("PhaseOffset"), 30.0);
    EXPECT_EQ(SimNumber("SweepMode"), 3.0);
    for (int i = 0; i < z5r::kEditCount; ++i) EXPECT_FALSE(main.Edit(i)->GetChangedVal()) << i;
}

}  // namespace
}  // namespace z5rtest
