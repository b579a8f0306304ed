// The packet editor window: its layout, its actions, and that its controls
// reach the editor's rules and show what they decide.
#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <memory>

#include "korvel/components/kv_spin_edit.h"
#include "model/packet_file.h"
#include "packetparams.h"
#include "test_env.h"
#include "ui/scripted_prompt.h"
#include "z5r/i18n.h"

namespace z5r {
namespace {

using korvel::TKvSpinEdit;

constexpr double us = 1e-6;
constexpr double kMinPulse = 2e-8;

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// Types `text` into an edit as the operator does and confirms with Enter.
void Type(TKvSpinEdit* edit, const char* text) {
    QLineEdit* line = edit->LineEdit();
    line->setFocus();
    QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(line, Qt::Key_Backspace);
    QTest::keyClicks(line, QString::fromLatin1(text));
    QTest::keyClick(line, Qt::Key_Return);
}

std::vector<SPulse> ThreePulses() {
    return {SPulse{1 * us, 2 * us, 2, true}, SPulse{2 * us, 3 * us, 1.5, false}, SPulse{0.5 * us, 5 * us, 10, true}};
}

class PacketParamsTest : public ::testing::Test {
protected:
    CScriptedPrompt prompt;
    TPacketParamsForm form{prompt};
};

TEST_F(PacketParamsTest, LayoutTextsAndActions) {
    EXPECT_EQ(form.windowTitle(), Text("Параметры пачки радиоимпульсов"));
    EXPECT_EQ(form.minimumSize(), QSize(600, 265));
    EXPECT_EQ(form.PacketLV->headerItem()->text(1), Text("Длительность импульса"));
    EXPECT_EQ(form.PacketLV->columnWidth(0), 60);
    EXPECT_EQ(form.PacketLV->columnWidth(2), 150);
    EXPECT_EQ(form.PacketLV->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(form.OkButton->text(), Text("ОК"));
    EXPECT_EQ(form.PeriodPacketEdit->Label(), Text("Период повторения пачки"));
    EXPECT_EQ(form.PeriodPacketEdit->MinValue(), 1e-8);
    EXPECT_EQ(form.TauEdit->GetCurentUnit(), Text("мкс"));

    struct SAction {
        QAction* action;
        const char* hint;
        QKeySequence shortcut;
    };
    const SAction actions[] = {
        {form.NewAction, "Создать новый список", {}},
        {form.OpenAndAddAction, "Открыть список и добавить к текущему", {}},
        {form.AddAction, "Добавить сегмент", QKeySequence(Qt::Key_Insert)},
        {form.EditAction, "Применить изменения для выделенного сегмента", {}},
        {form.DeleteAction, "Удалить выбранный сегмент", QKeySequence(Qt::Key_Delete)},
        {form.DeselAllAction, "Снять выделение для всех сегментов", {}},
    };
    for (const SAction& a : actions) {
        EXPECT_EQ(a.action->toolTip(), Text(a.hint));
        EXPECT_EQ(a.action->shortcut(), a.shortcut) << a.hint;
    }
    const QList<QAction*> popup = form.PacketPopupMenu->actions();
    EXPECT_EQ(popup.size(), 10);
    EXPECT_FALSE(popup.contains(form.OpenAndAddAction));
    EXPECT_EQ(popup[0]->text(), Text("Новый список"));
}

TEST(PacketParamsLayout, EverythingFitsTheMinimumSizeInBothLanguages) {
    for (const char* language : {"ru", "en"}) {
        SCOPED_TRACE(language);
        SetupCatalogue(APP_LOCALE_DIR, language);
        CScriptedPrompt prompt;
        TPacketParamsForm form(prompt);
        form.Load(ThreePulses(), 1 * us, kMinPulse);
        const QSize needed = form.layout()->minimumSize();
        EXPECT_LE(needed.width(), form.minimumWidth());
        EXPECT_LE(needed.height(), form.minimumHeight());
    }
    SetupCatalogue(APP_LOCALE_DIR, "ru");
}

TEST_F(PacketParamsTest, RowsSelectionEditsAndTicksReachTheRules) {
    form.Load(ThreePulses(), 10 * us, kMinPulse);
    ASSERT_EQ(form.PacketLV->topLevelItemCount(), 3);
    const QTreeWidgetItem* second = form.PacketLV->topLevelItem(1);
    EXPECT_EQ(second->text(0), QStringLiteral("2"));
    EXPECT_EQ(second->text(1), Text("2 мкс"));
    EXPECT_EQ(second->text(3), QStringLiteral("1.5"));
    EXPECT_EQ(second->checkState(0), Qt::Unchecked);
    EXPECT_EQ(form.StatusPanel0->text(), Text("Общая длительность пачки: 7 мкс"));
    EXPECT_DOUBLE_EQ(form.TauEdit->GetValue(), 1e-6);
    EXPECT_DOUBLE_EQ(form.QEdit->GetValue(), 10);
    EXPECT_FALSE(form.EditAction->isEnabled());

    form.PacketLV->topLevelItem(2)->setSelected(true);
    EXPECT_DOUBLE_EQ(form.TauEdit->GetValue(), 0.5 * us);
    EXPECT_TRUE(form.EditAction->isEnabled());

    Type(form.PeriodEdit, "8");  // microseconds, as shown
    EXPECT_DOUBLE_EQ(form.QEdit->GetValue(), 16);
    form.EditAction->trigger();
    EXPECT_EQ(form.PacketLV->topLevelItem(2)->text(2), Text("8 мкс"));
    EXPECT_EQ(form.StatusPanel0->text(), Text("Общая длительность пачки: 10 мкс"));

    // The tick of a row counts it.
    form.PacketLV->topLevelItem(1)->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(form.Editor().Packet()[1].used);
    EXPECT_EQ(form.StatusPanel1->text(), Text("Период повторения пачки меньше общей длительности пачки"));
    EXPECT_EQ(form.PeriodPacketEdit->LineEdit()->palette().color(QPalette::Base), QColor(Qt::red));

    Type(form.PeriodPacketEdit, "13");
    EXPECT_EQ(form.StatusPanel1->text(), QString());
    EXPECT_EQ(form.PeriodPacketEdit->LineEdit()->palette().color(QPalette::Base), QColor(Qt::white));

    // Delete in the list view removes the selected row.
    QTest::keyClick(form.PacketLV, Qt::Key_Delete);
    EXPECT_EQ(form.PacketLV->topLevelItemCount(), 2);
    EXPECT_TRUE(form.PacketLV->topLevelItem(1)->isSelected());
}

TEST_F(PacketParamsTest, EditPacketReturnsThePacketOnlyWhenAccepted) {
    std::vector<SPulse> packet = ThreePulses();
    double period = 20 * us;
    form.SetRunModal([this](QDialog&) {
        form.AddAction->trigger();
        QTest::mouseClick(form.OkButton, Qt::LeftButton);
        return form.result();
    });
    EXPECT_TRUE(form.EditPacket(packet, period, kMinPulse));
    ASSERT_EQ(packet.size(), 4u);
    EXPECT_EQ(packet[3], SPulse{});  // the defaults: 1 µs in 10 µs
    EXPECT_DOUBLE_EQ(period, 20 * us);

    // Leaving with Cancel asks; No keeps the packet as it was, Yes takes the changes.
    form.SetRunModal([this](QDialog&) {
        form.SelAllAction->trigger();
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
        return form.result();
    });
    prompt.QueueAnswer(EPromptResult::No);
    EXPECT_FALSE(form.EditPacket(packet, period, kMinPulse));
    EXPECT_FALSE(packet[1].used);
    prompt.QueueAnswer(EPromptResult::Yes);
    EXPECT_TRUE(form.EditPacket(packet, period, kMinPulse));
    EXPECT_TRUE(packet[1].used);
    ASSERT_EQ(prompt.Shown().size(), 2u);
    EXPECT_EQ(prompt.Shown()[1].text, "Список был изменен. Применить изменения?");
}

TEST_F(PacketParamsTest, FileActionsGoThroughTheFileDialogs) {
    z5rtest::TempDir dir;
    const std::string path = (dir.Path() / "пачка.ppl").string();
    ASSERT_EQ(WritePacketFile(path, ThreePulses()), pfsOk);
    form.Load({SPulse{}}, 100 * us, kMinPulse);

    prompt.QueueFileName(path);
    form.OpenAndAddAction->trigger();
    EXPECT_EQ(form.PacketLV->topLevelItemCount(), 4);
    ASSERT_EQ(prompt.ShownDialogs().size(), 1u);
    EXPECT_EQ(prompt.ShownDialogs()[0].dialog.title, "Открыть файл списка");
    EXPECT_EQ(prompt.ShownDialogs()[0].dialog.filter, "PPL (*.ppl)");

    const std::string saved = (dir.Path() / "сохранено.ppl").string();
    prompt.QueueFileName(saved);
    form.SaveAction->trigger();
    EXPECT_TRUE(prompt.ShownDialogs()[1].save);
    std::vector<SPulse> read;
    ASSERT_EQ(ReadPacketFile(saved, read), pfsOk);
    EXPECT_EQ(read, form.Editor().Packet());
}

}  // namespace
}  // namespace z5r
