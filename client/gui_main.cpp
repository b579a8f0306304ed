// TMain: construction, the window's own events and the end of the program.
#include "gui_main.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/command_line.h"
#include "core/z5r_device.h"
#include "korvel/components/form_connect.h"
#include "korvel/components/kv_spin_edit.h"
#include "korvel/components/roll_panel.h"
#include "list_panel_view.h"
#include "profile_panel_view.h"
#include "pulse_panel_view.h"
#include "ui/prompt.h"
#include "ui/translate_window.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

constexpr int kMinWidth = 920;
constexpr int kMinHeight = 590;

IPrompt& RequirePrompt(IPrompt* prompt) {
    // The window cannot ask anything without one; a programming error.
    if (prompt == nullptr) std::abort();
    return *prompt;
}

// Test and diagnostic seam: Z5R_INSTRUMENT_PORT=<1..65535> makes the window
// connect to that port instead of the instrument's own (8888), so tests can
// run the simulated instrument on a free port. The product never sets it.
int InstrumentPort() {
    const char* text = std::getenv("Z5R_INSTRUMENT_PORT");
    if (text == nullptr) return kInstrumentPort;
    int port = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, port);
    if (error != std::errc() || stop != end || port < 1 || port > 65535) return kInstrumentPort;
    return port;
}

}  // namespace

TMain::TMain(STMainOptions options, QWidget* parent)
    : QMainWindow(parent),
      options_(std::move(options)),
      controller_(*this, RequirePrompt(options_.prompt), SControllerOptions{InstrumentPort}),
      prompt_(controller_.Prompt()),
      state_(controller_.State()),
      profile_(controller_.Profile()) {
    // The window from its parts.
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QString::fromUtf8(Z5R_TEXT("Программный комплекс Z5R")));
    BuildActions();
    BuildMenus();
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("CentralPanel"));
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(BuildLeftArea(), 1);
    layout->addWidget(BuildRightArea());
    setCentralWidget(central);
    BuildStatusBar();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);

    // The numeric-edit table.
    BuildEditTable();
    // The list panel's rows and actions (owned by the window).
    new TListPanelView(*this);
    pulsePanelView_ = std::make_unique<TPulsePanelView>(*this);
    // The profile group's rows and commands and the superuser submenu (owned by the window).
    new TProfilePanelView(*this);

    // The state starts as SMainState declares it; nothing is connected and
    // the mode is the first one.
    controller_.RefreshSummary();

    // The default settings: the last profile of "default.z5p", else the
    // controls' initial values. The settings stay locked until the first
    // connection.
    profile_ = MakeInitialProfile();
    controller_.Profiles().LoadDefaultList();
    SetControlsState(false);

    // The panels of the control column in their order.
    OrderPanels();

    // No edit carries a changed mark; the connection dialog is made by the
    // first connect action.
    controller_.MarkAll(false);

    setMinimumSize(kMinWidth, kMinHeight);
    resize(kMinWidth, kMinHeight);

    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* now) { FocusWindowChanged(now); });
    FormCreate();
}

TMain::~TMain() = default;

void TMain::FormCreate() {
    TranslateWindow(this);
    state_.startAddress.clear();
    const SCommandLine commandLine = ParseCommandLine(options_.arguments);
    state_.startAddress = commandLine.startAddress;
    state_.startProfileArg = commandLine.startProfileArg;
    if (options_.diagnostics) {
        std::fprintf(stderr, "startAddress=%s\nstartProfileArg=%s\n", state_.startAddress.c_str(),
                     state_.startProfileArg.c_str());
        std::fflush(stderr);
    }
}

void TMain::FormShow() {
    FitColumnToWidth();
    state_.formShown = true;
    controller_.Run([this] { controller_.EditConfirmed(kNoEdit); });
    controller_.RefreshSummary();
    TranslateSummaryCaptions();
}

void TMain::FormActivate() {
    if (state_.connectedFlag) return;
    // After the activation has been handled: the connect action shows a
    // modal dialog.
    QMetaObject::invokeMethod(this, [this] { RunConnectOnActivation(); }, Qt::QueuedConnection);
}

void TMain::RunConnectOnActivation() {
    if (state_.connectedFlag || connectActionRunning_) return;
    ConnectActionExecute();
}

void TMain::FocusWindowChanged(QWindow* now) {
    const QWindow* before = focusWindow_.data();
    focusWindow_ = now;
    // The window counts as activated when it takes the focus while none of
    // the program's windows had it: at start and when the operator comes back
    // from another program. Coming back from one of our own dialogs (the
    // connection dialog above all) does not, or cancelling that dialog would
    // bring it up again at once.
    if (now != nullptr && now == windowHandle() && before == nullptr) FormActivate();
}

void TMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TMain::closeEvent(QCloseEvent* event) {
    // Closing is never refused; the instrument is let go first.
    DisconnectActionExecute();
    event->accept();
}

void TMain::ExitActionExecute() {
    SPromptMessage question;
    question.caption = Tr("Подтверждение закрытия программы");
    question.text = Tr("Программа будет закрыта. Продолжить?");
    question.icon = EPromptIcon::Question;
    question.buttons = EPromptButtons::YesNo;
    if (prompt_.ShowMessage(question) == EPromptResult::Yes) RequestTerminate();
}

int TMain::RunModal(QDialog& dialog) {
    if (options_.runModal) return options_.runModal(dialog);
    return dialog.exec();
}

void TMain::RequestTerminate() {
    if (options_.requestTerminate) {
        options_.requestTerminate();
        return;
    }
    QCoreApplication::quit();
}

}  // namespace z5r
