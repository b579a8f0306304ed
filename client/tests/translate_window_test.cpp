// Passing a window through the catalogue: every kind of text a widget tree
// holds is translated, texts that are no keys stay, and a second pass
// changes nothing.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "korvel/components/kv_indicator.h"
#include "korvel/components/kv_label.h"
#include "korvel/components/kv_spin_edit.h"
#include "korvel/components/roll_panel.h"
#include "ui/translate_window.h"
#include "z5r/i18n.h"

namespace z5r {
namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

class TranslateWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SetupCatalogue(TEST_LOCALE_DIR, "en"), "en");
        window.setWindowTitle(U("Окно"));
        auto* layout = new QVBoxLayout(&window);
        label = new QLabel(U("Надпись"), &window);
        label->setToolTip(U("Подсказка"));
        button = new QPushButton(U("Кнопка"), &window);
        button->setStatusTip(U("Пояснение"));
        check = new QCheckBox(U("Флажок"), &window);
        group = new QGroupBox(U("Группа"), &window);
        tabs = new QTabWidget(&window);
        tabs->addTab(new QWidget, U("Вкладка"));
        combo = new QComboBox(&window);
        combo->addItems({U("Элемент"), QStringLiteral("10.0.0.1")});
        edit = new QLineEdit(&window);
        edit->setPlaceholderText(U("Образец"));
        tree = new QTreeWidget(&window);
        tree->setHeaderLabels({U("Столбец")});
        new QTreeWidgetItem(tree, QStringList{U("Строка")});
        list = new QListWidget(&window);
        list->addItem(U("Элемент"));
        menu = new QMenu(U("Меню"), &window);
        action = new QAction(U("&Команда"), &window);
        menu->addAction(action);
        hiddenAction = new QAction(U("&Команда"), &window);
        hiddenAction->setToolTip(U("Подсказка"));
        spin = new korvel::TKvSpinEdit(&window);
        spin->SetLabel(U("Поле:"));
        panel = new korvel::TKvRollPanel(U("Панель"), &window);
        lamp = new korvel::TKvIndicator(&window);
        lamp->SetCaption(U("Лампа"));
        readout = new korvel::TKvLabel(&window);
        readout->SetLabel(U("Табло:"));
        for (QWidget* w : std::initializer_list<QWidget*>{label, button, check, group, tabs, combo, edit, tree, list,
                                                          spin, panel, lamp, readout}) {
            layout->addWidget(w);
        }
    }
    void TearDown() override { SetupCatalogue(TEST_LOCALE_DIR, "ru"); }

    void ExpectEnglish() {
        EXPECT_EQ(window.windowTitle(), "Window");
        EXPECT_EQ(label->text(), "Label text");
        EXPECT_EQ(label->toolTip(), "Hint");
        EXPECT_EQ(button->text(), "Button");
        EXPECT_EQ(button->statusTip(), "Explanation");
        EXPECT_EQ(check->text(), "Check box");
        EXPECT_EQ(group->title(), "Group");
        EXPECT_EQ(tabs->tabText(0), "Tab");
        EXPECT_EQ(combo->itemText(0), "Item");
        EXPECT_EQ(combo->itemText(1), "10.0.0.1");  // no key: left alone
        EXPECT_EQ(edit->placeholderText(), "Example");
        EXPECT_EQ(tree->headerItem()->text(0), "Column");
        EXPECT_EQ(tree->topLevelItem(0)->text(0), "Row");
        EXPECT_EQ(list->item(0)->text(), "Item");
        EXPECT_EQ(menu->title(), "Menu");
        EXPECT_EQ(action->text(), "&Command");
        EXPECT_EQ(action->toolTip(), "Command");  // a tip nobody set follows the text
        EXPECT_EQ(hiddenAction->text(), "&Command");  // owned, in no menu
        EXPECT_EQ(hiddenAction->toolTip(), "Hint");
        EXPECT_EQ(spin->Label(), "Field:");
        EXPECT_EQ(panel->Caption(), "Panel");
        EXPECT_EQ(lamp->Caption(), "Lamp");
        EXPECT_EQ(readout->Label(), "Readout:");
    }

    QWidget window;
    QLabel* label = nullptr;
    QPushButton* button = nullptr;
    QCheckBox* check = nullptr;
    QGroupBox* group = nullptr;
    QTabWidget* tabs = nullptr;
    QComboBox* combo = nullptr;
    QLineEdit* edit = nullptr;
    QTreeWidget* tree = nullptr;
    QListWidget* list = nullptr;
    QMenu* menu = nullptr;
    QAction* action = nullptr;
    QAction* hiddenAction = nullptr;
    korvel::TKvSpinEdit* spin = nullptr;
    korvel::TKvRollPanel* panel = nullptr;
    korvel::TKvIndicator* lamp = nullptr;
    korvel::TKvLabel* readout = nullptr;
};

TEST_F(TranslateWindowTest, EveryKindOfTextIsTranslated) {
    TranslateWindow(&window);
    ExpectEnglish();
}

TEST_F(TranslateWindowTest, TranslatingTwiceChangesNothing) {
    TranslateWindow(&window);
    TranslateWindow(&window);
    ExpectEnglish();
}

TEST_F(TranslateWindowTest, WithoutTranslationsTheKeysStay) {
    SetupCatalogue(TEST_LOCALE_DIR, "ru");  // the test has no Russian catalogue
    TranslateWindow(&window);
    EXPECT_EQ(window.windowTitle(), U("Окно"));
    EXPECT_EQ(combo->itemText(0), U("Элемент"));
    EXPECT_EQ(spin->Label(), U("Поле:"));
}

}  // namespace
}  // namespace z5r
