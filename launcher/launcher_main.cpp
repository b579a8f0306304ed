// Launcher: the program the operator starts. It marks itself running, shows
// the splash window and, after three seconds, starts the client.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/instance_lock.h"
#include "launcher_texts.h"
#include "splash_form.h"
#include "z5r/i18n.h"

namespace {

constexpr const char* kLauncherInstanceName = "Global\\KorvelZ5RClientLauncher";

bool DiagnosticsRequested() {
    const char* value = std::getenv("Z5R_DIAG");
    return value != nullptr && std::string(value) == "1";
}

std::string OwnFolder() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
}

void ShowError(const std::string& caption, const std::string& text) {
    if (DiagnosticsRequested()) std::fprintf(stderr, "message=%s\n", text.c_str());
    QMessageBox::critical(nullptr, QString::fromStdString(caption), QString::fromStdString(text));
}

void Report(const z5r::TSplashForm& splash) {
    const auto& settings = splash.Settings();
    std::fprintf(stderr, "client=%s\nversion=%s\npicture=%s\n", settings.clientFileName.c_str(),
                 settings.versionText.c_str(), settings.pictureName.c_str());
    std::fflush(stderr);
}

int RunSplash(std::vector<std::string> parameters) {
    z5r::SSplashOptions options;
    options.folder = OwnFolder();
    options.parameters = std::move(parameters);
    options.showError = ShowError;
    options.end = [](int code) { QCoreApplication::exit(code); };
    z5r::TSplashForm splash(std::move(options));
    if (DiagnosticsRequested()) Report(splash);
    splash.show();
    // Without a window manager nobody else activates the window, and the
    // activation starts the load delay.
    splash.activateWindow();
    return QApplication::exec();
}

int Run(int argc, char** argv) {
    // Taken before the toolkit removes the parameters it knows: the client
    // gets every one.
    std::vector<std::string> parameters(argv + 1, argv + argc);
    QApplication app(argc, argv);
    // A failure that reaches this level is shown as the toolkit shows errors.
    try {
        return RunSplash(std::move(parameters));
    } catch (const std::exception& e) {
        ShowError(z5r::ErrorCaptionText(), e.what());
    } catch (...) {
        ShowError(z5r::ErrorCaptionText(), "");
    }
    return z5r::kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
    // Held while the launcher runs; a second launcher starts anyway.
    const z5r::CInstanceLock instanceLock(kLauncherInstanceName);
    z5r::SetupCatalogue(OwnFolder() + "/locale");
    return Run(argc, argv);
}
