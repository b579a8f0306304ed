// TMain: actions, menus, the tool bar and the status bar.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "gui_main.h"
#include "gui_main_helpers.h"
#include "window_images.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

// The captions of the roll-up panels, in panel order; the "Вкладки" toggles
// carry the same captions.
constexpr std::array<const char*, 6> kPanelToggleNames = {
    "ShowControlPanAction", "ShowFreqPanAction", "ShowPowPanAction",
    "ShowSyncPanAction",    "ShowOGPanAction",   "ShowPMPanAction",
};
constexpr std::array<const char*, 6> kPanelCaptions = {
    Z5R_TEXT("Управление"),    Z5R_TEXT("Частота"),           Z5R_TEXT("Мощность"),
    Z5R_TEXT("Синхронизация"), Z5R_TEXT("Опорный генератор"), Z5R_TEXT("Импульсная модуляция"),
};

}  // namespace

void TMain::BuildActions() {
    ConnectAction = MakeAction(this, "ConnectAction", Z5R_TEXT("Подключиться к прибору"),
                               Z5R_TEXT("Подключиться к прибору (F7)"), QKeySequence(Qt::Key_F7));
    DisconnectAction = MakeAction(this, "DisconnectAction", Z5R_TEXT("Отключиться от прибора"),
                                  Z5R_TEXT("Отключиться от прибора (F8)"), QKeySequence(Qt::Key_F8));
    EnableRFAction = MakeAction(this, "EnableRFAction", Z5R_TEXT("Мощность СВЧ"),
                                Z5R_TEXT("Включить/выключить мощность на выходе СВЧ"),
                                QKeySequence(Qt::Key_F5));
    EnableRFAction->setCheckable(true);
    HandModeStepAction = MakeAction(this, "HandModeStepAction", Z5R_TEXT("Следующая точка/запуск"),
                                    Z5R_TEXT("Перейти на следующую точку/запустить однократно (F6)"),
                                    QKeySequence(Qt::Key_F6));
    PassSuperuserAction = MakeAction(this, "PassSuperuserAction", Z5R_TEXT("Вход..."));
    ChangePassSuperuserAction = MakeAction(this, "ChangePassSuperuserAction", Z5R_TEXT("Сменить пароль..."));
    ExitSupermodeAction = MakeAction(this, "ExitSupermodeAction", Z5R_TEXT("Выход"));
    ExitAction = MakeAction(this, "ExitAction", Z5R_TEXT("Выход из программы"));

    DisconnectAction->setEnabled(false);
    EnableRFAction->setEnabled(false);
    ChangePassSuperuserAction->setEnabled(false);
    ExitSupermodeAction->setEnabled(false);

    CompactViewAction = MakeAction(this, "CompactViewAction", Z5R_TEXT("Компактный вид"));
    FullViewAction = MakeAction(this, "FullViewAction", Z5R_TEXT("Расширенный вид"));
    HideAllAction = MakeAction(this, "HideAllAction", Z5R_TEXT("Скрыть все"));
    RestoreAllAction = MakeAction(this, "RestoreAllAction", Z5R_TEXT("Восстановить все"));
    for (std::size_t i = 0; i < PanelToggles.size(); ++i) {
        QAction* toggle = MakeAction(this, kPanelToggleNames[i], kPanelCaptions[i]);
        toggle->setCheckable(true);
        toggle->setChecked(true);
        PanelToggles[i] = toggle;
    }

    HelpAction = MakeAction(this, "HelpAction", Z5R_TEXT("Помощь"));
    AboutDeviceAction = MakeAction(this, "AboutDeviceAction", Z5R_TEXT("О приборе"));
    HelpAction->setVisible(false);
    AboutDeviceAction->setVisible(false);
    AboutAction = MakeAction(this, "AboutAction", Z5R_TEXT("О программе"));
    AddressAction = MakeAction(this, "AddressAction", Z5R_TEXT("Сайт фирмы-производителя"),
                               Z5R_TEXT("Перейти на сайт фирмы-производителя"));

    BuildListActions();
    BuildProfileActions();

    connect(ConnectAction, &QAction::triggered, this, [this] { ConnectActionExecute(); });
    connect(DisconnectAction, &QAction::triggered, this, [this] { DisconnectActionExecute(); });
    connect(ExitAction, &QAction::triggered, this, [this] { ExitActionExecute(); });
    connect(CompactViewAction, &QAction::triggered, this, [this] { CompactViewActionExecute(); });
    connect(FullViewAction, &QAction::triggered, this, [this] { FullViewActionExecute(); });
    connect(HideAllAction, &QAction::triggered, this, [this] { HideAllActionExecute(); });
    connect(RestoreAllAction, &QAction::triggered, this, [this] { RestoreAllActionExecute(); });
    for (std::size_t i = 0; i < PanelToggles.size(); ++i) {
        connect(PanelToggles[i], &QAction::toggled, this,
                [this, i](bool visible) { PanelToggled(static_cast<int>(i), visible); });
    }
    connect(AboutAction, &QAction::triggered, this, [this] { AboutActionExecute(); });
    connect(AddressAction, &QAction::triggered, this, [this] { AddressActionExecute(); });
}

void TMain::BuildListActions() {
    NewListAction = MakeAction(this, "NewListAction", Z5R_TEXT("Новый список"), Z5R_TEXT("Создать новый список"));
    OpenListAction = MakeAction(this, "OpenListAction", Z5R_TEXT("Открыть список"), Z5R_TEXT("Открыть список"));
    OpenListAndAddAction = MakeAction(this, "OpenListAndAddAction", Z5R_TEXT("Открыть и добавить"),
                                      Z5R_TEXT("Открыть список и добавить к текущему"));
    SaveListAction = MakeAction(this, "SaveListAction", Z5R_TEXT("Сохранить список"),
                                Z5R_TEXT("Сохранить текущий список"));
    AddLineAction = MakeAction(this, "AddLineAction", Z5R_TEXT("Добавить"), Z5R_TEXT("Добавить сегмент"),
                               QKeySequence(Qt::Key_Insert));
    EditLineAction = MakeAction(this, "EditLineAction", Z5R_TEXT("Редактировать"),
                                Z5R_TEXT("Редактировать выбранный сегмент"));
    DeleteLineAction = MakeAction(this, "DeleteLineAction", Z5R_TEXT("Удалить"),
                                  Z5R_TEXT("Удалить выбранный сегмент"), QKeySequence(Qt::Key_Delete));
    UpLineAction = MakeAction(this, "UpLineAction", Z5R_TEXT("Переместить вверх"),
                              Z5R_TEXT("Поднять сегмент на одну строку"));
    DownLineAction = MakeAction(this, "DownLineAction", Z5R_TEXT("Переместить вниз"),
                                Z5R_TEXT("Опустить сегмент на одну строку"));
    SelAllAction = MakeAction(this, "SelAllAction", Z5R_TEXT("Выделить все"),
                              Z5R_TEXT("Установить выделение для всех сегментов"));
    DeselAllAction = MakeAction(this, "DeselAllAction", Z5R_TEXT("Снять выделение"),
                                Z5R_TEXT("Снять выделение для всех сегментов"));
    for (QAction* action : {SaveListAction, EditLineAction, DeleteLineAction, UpLineAction, DownLineAction,
                            SelAllAction, DeselAllAction}) {
        action->setEnabled(false);
    }
    // Insert and Delete belong to the list view: in an edit they edit text.
    for (QAction* action : {AddLineAction, DeleteLineAction}) action->setShortcutContext(Qt::WidgetShortcut);
}

void TMain::BuildProfileActions() {
    NewProfileListAction = MakeAction(this, "NewProfileListAction", Z5R_TEXT("Создать список профилей"),
                                      Z5R_TEXT("Создать новый список профилей"));
    OpenProfileListAction = MakeAction(this, "OpenProfileListAction", Z5R_TEXT("Открыть список профилей"),
                                       Z5R_TEXT("Открыть список профилей"));
    SaveProfileListAction = MakeAction(this, "SaveProfileListAction", Z5R_TEXT("Сохранить список профилей"),
                                       Z5R_TEXT("Сохранить текущий список профилей"));
    AddProfileAction = MakeAction(this, "AddProfileAction", Z5R_TEXT("Добавить профиль"),
                                  Z5R_TEXT("Создать профиль из текущих настроек"));
    UpdateProfileAction = MakeAction(this, "UpdateProfileAction", Z5R_TEXT("Обновить профиль"),
                                     Z5R_TEXT("Добавить текущие настройки в выбранный профиль"));
    EditProfileAction = MakeAction(this, "EditProfileAction", Z5R_TEXT("Редактировать комментарий"),
                                   Z5R_TEXT("Редактировать комментарий выбранного профиля"));
    DelProfileAction = MakeAction(this, "DelProfileAction", Z5R_TEXT("Удалить профиль"),
                                  Z5R_TEXT("Удалить выбранный профиль"));
    ApplyProfileAction = MakeAction(this, "ApplyProfileAction", Z5R_TEXT("Применить профиль"),
                                    Z5R_TEXT("Применить выбранный профиль"));
    DefaultProfileAction = MakeAction(this, "DefaultProfileAction", Z5R_TEXT("Настройки по умолчанию"),
                                      Z5R_TEXT("Установить настройки по умолчанию"));
}

void TMain::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));

    ControlMenu = Named(bar->addMenu(QString::fromUtf8(Z5R_TEXT("&Управление"))), "ControlMenu");
    ControlMenu->addAction(ConnectAction);
    ControlMenu->addAction(DisconnectAction);
    ControlMenu->addSeparator();
    ControlMenu->addAction(EnableRFAction);
    ControlMenu->addAction(HandModeStepAction);
    ControlMenu->addSeparator();
    SuperuserMenu = Named(ControlMenu->addMenu(QString::fromUtf8(Z5R_TEXT("Режим суперпользователя"))),
                          "SuperuserMenu");
    SuperuserMenu->addAction(PassSuperuserAction);
    SuperuserMenu->addAction(ChangePassSuperuserAction);
    SuperuserMenu->addAction(ExitSupermodeAction);
    SuperuserMenu->setEnabled(false);
    ControlMenu->addSeparator();
    ControlMenu->addAction(ExitAction);

    ProfileMenu = Named(bar->addMenu(QString::fromUtf8(Z5R_TEXT("&Профиль"))), "ProfileMenu");
    ProfileMenu->addActions({NewProfileListAction, OpenProfileListAction, SaveProfileListAction});
    ProfileMenu->addSeparator();
    ProfileMenu->addActions({AddProfileAction, UpdateProfileAction, EditProfileAction, DelProfileAction});
    ProfileMenu->addSeparator();
    ProfileMenu->addActions({ApplyProfileAction, DefaultProfileAction});

    ViewMenu = Named(bar->addMenu(QString::fromUtf8(Z5R_TEXT("Вид"))), "ViewMenu");
    ViewMenu->addAction(CompactViewAction);
    ViewMenu->addAction(FullViewAction);
    TabsMenu = Named(ViewMenu->addMenu(QString::fromUtf8(Z5R_TEXT("Вкладки"))), "TabsMenu");
    TabsMenu->addAction(HideAllAction);
    TabsMenu->addAction(RestoreAllAction);
    TabsMenu->addSeparator();
    for (QAction* toggle : PanelToggles) TabsMenu->addAction(toggle);

    HelpMenu = Named(bar->addMenu(QString::fromUtf8(Z5R_TEXT("&Справка"))), "HelpMenu");
    HelpMenu->addActions({HelpAction, AboutDeviceAction, AboutAction, AddressAction});

    ListPopupMenu = Named(new QMenu(this), "ListPopupMenu");
    ListPopupMenu->addActions({NewListAction, OpenListAction, SaveListAction});
    ListPopupMenu->addSeparator();
    ListPopupMenu->addActions({AddLineAction, EditLineAction, DeleteLineAction});
    ListPopupMenu->addSeparator();
    ListPopupMenu->addActions({UpLineAction, DownLineAction});
    ListPopupMenu->addSeparator();
    ListPopupMenu->addActions({SelAllAction, DeselAllAction});

    ProfPopupMenu = Named(new QMenu(this), "ProfPopupMenu");
    ProfPopupMenu->addActions({NewProfileListAction, OpenProfileListAction, SaveProfileListAction});
    ProfPopupMenu->addSeparator();
    ProfPopupMenu->addActions({AddProfileAction, UpdateProfileAction, EditProfileAction, DelProfileAction});
    ProfPopupMenu->addSeparator();
    ProfPopupMenu->addActions({ApplyProfileAction, DefaultProfileAction});
}

void TMain::BuildToolBar(QWidget* parent) {
    ToolBar = Named(new QToolBar(parent), "ToolBar");
    // Pictures only: the captions of the four would not fit the column; the
    // hints say what each does.
    ToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ConnectAction->setIcon(ToolImage(tiConnect));
    DisconnectAction->setIcon(ToolImage(tiDisconnect));
    HandModeStepAction->setIcon(ToolImage(tiHandStep));
    ShowRfRadiating(false);
    ToolBar->addAction(ConnectAction);
    ToolBar->addAction(DisconnectAction);
    ToolBar->addSeparator();
    ToolBar->addAction(EnableRFAction);
    ToolBar->addAction(HandModeStepAction);
    ToolBar->widgetForAction(ConnectAction)->setObjectName(QStringLiteral("ConnectDevItem"));
    ToolBar->widgetForAction(DisconnectAction)->setObjectName(QStringLiteral("DisconnectDevItem"));
    ToolBar->widgetForAction(EnableRFAction)->setObjectName(QStringLiteral("RFItem"));
    ToolBar->widgetForAction(HandModeStepAction)->setObjectName(QStringLiteral("HandModeStepItem"));
}

void TMain::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    NameLabelItem = MakeLabel("NameLabelItem", "-------", bar);
    SNLabelItem = MakeLabel("SNLabelItem", Z5R_TEXT("с/н: ---------"), bar);
    IPLabelItem = MakeLabel("IPLabelItem", "IP: ---.---.---.---", bar);
    ConnectLabelItem = MakeLabel("ConnectLabelItem", Z5R_TEXT("Отключен"), bar);
    SVCHLabelItem = MakeLabel("SVCHLabelItem", Z5R_TEXT("Кнопка СВЧ: выкл"), bar);
    SweepPB = Named(new QProgressBar(bar), "SweepPB");
    SweepPB->setRange(0, 1);
    SweepPB->setValue(0);
    SweepPB->setTextVisible(false);
    SweepPB->setMaximumWidth(160);
    // The texts keep their room in the narrow compact view; the bar gives way.
    SweepPB->setMinimumWidth(SweepPB->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 2);
    SweepPB->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    for (QLabel* item : {NameLabelItem, SNLabelItem, IPLabelItem, ConnectLabelItem, SVCHLabelItem}) {
        item->setMinimumWidth(item->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 8);
        bar->addWidget(item);
    }
    ErrorLabelItem = Named(new QLabel(bar), "ErrorLabelItem");
    bar->addWidget(ErrorLabelItem, 1);
    bar->addPermanentWidget(SweepPB);
}

}  // namespace z5r
