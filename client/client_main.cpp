// Client_Z5R: the entry point. The program marks itself running, selects the
// catalogue language, creates its windows and runs until it is ended.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "about.h"
#include "changepassunit.h"
#include "core/instance_lock.h"
#include "core/paths.h"
#include "gui_main.h"
#include "korvel/com_registry.h"
#include "korvel/korvel_v8n.h"
#include "listeditor.h"
#include "packetparams.h"
#include "passqueryform.h"
#include "profilecommenteditor.h"
#include "ui/catalogue_translator.h"
#include "ui/client_application.h"
#include "ui/qt_prompt.h"
#include "ui/quit_on_signal.h"
#include "ui/window_snapshot.h"
#include "z5r/i18n.h"

namespace {

bool DiagnosticsRequested() {
    const char* value = std::getenv("Z5R_DIAG");
    return value != nullptr && std::string(value) == "1";
}

int RunClient(z5r::CClientApplication& app, std::vector<std::string> arguments) {
    const std::string appDir = z5r::GetVxDir(z5r::dirApplication);
    // The driver is found beside the program; without it a connection
    // attempt reports that the driver is not installed.
    std::string pluginError;
    if (!korvel::RegisterPlugin(appDir + "/libKorvelV8N.so", korvel::CLSID_KorvelV8N, &pluginError) &&
        DiagnosticsRequested()) {
        std::fprintf(stderr, "driver=%s\n", pluginError.c_str());
    }

    // A request to stop (SIGTERM) ends the program as the exit command does,
    // also while the windows are still being made.
    z5r::CQuitOnSignal quitOnSignal([] { QCoreApplication::quit(); });

    z5r::CQtPrompt prompt;
    z5r::STMainOptions options;
    options.prompt = &prompt;
    options.arguments = std::move(arguments);
    options.diagnostics = DiagnosticsRequested();
    // The main window is the application's main window: closing it ends the
    // program, and it has the task bar button.
    z5r::TMain main(std::move(options));
    prompt.SetOwner(&main);

    z5r::SDialogs dialogs;
    dialogs.listEditor = new z5r::TListEditorForm(&main);
    dialogs.profComment = new z5r::TProfCommentForm(&main);
    dialogs.packetParams = new z5r::TPacketParamsForm(prompt, &main);
    dialogs.changePass = new z5r::TChangePassForm(&main);
    dialogs.pass = new z5r::TPassForm(&main);
    main.SetDialogs(dialogs);
    prompt.SetOwnDialogs({[&dialogs](const std::string& text) { return dialogs.profComment->Ask(text); },
                          [&dialogs] { return dialogs.pass->Ask(); },
                          [&dialogs] { return dialogs.changePass->Ask(); }});

    main.show();
    // Ask for the focus ourselves: without a window manager (a bare X server)
    // nobody else activates the window, and activation starts the connection.
    main.activateWindow();
    // The run script's picture of the window on a machine without a screen.
    z5r::CWindowSnapshot::FromEnvironment(&main, &main);
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    // Other programs may test whether a client runs; a second one starts anyway.
    const z5r::CInstanceLock instanceLock(z5r::kClientInstanceName);

    // The catalogue beside the program, Russian unless Z5R_LANG says otherwise;
    // the toolkit's own texts come from the additional domain "C++".
    z5r::SetupCatalogue(z5r::GetVxDir(z5r::dirApplication) + "/locale");

    z5r::CClientApplication app(argc, argv);
    z5r::CCatalogueTranslator translator;
    QCoreApplication::installTranslator(&translator);
    // Boxes without a caption of their own show the program's name, not its file's.
    QGuiApplication::setApplicationDisplayName(QString::fromStdString(z5r::Tr("Программный комплекс Z5R")));
    if (DiagnosticsRequested()) {
        std::fprintf(stderr, "displayName=%s\n", QGuiApplication::applicationDisplayName().toStdString().c_str());
        std::fflush(stderr);
    }
    try {
        return RunClient(app, std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        z5r::ShowException(e.what());
    } catch (...) {
        z5r::ShowException("");
    }
    return 0;
}
