// TSplashForm: the launcher's only window. Borderless and on top, sized to
// its background, with the product name, the version and the rights notice;
// 3 s after it is first activated it starts the client and the launcher ends.
#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "splash_settings.h"

namespace z5r {

inline constexpr int kLoadDelayMs = 3000;
inline constexpr int kExitDelayMs = 8000;
inline constexpr int kExitStarted = 0;
inline constexpr int kExitFailed = 1;

struct SSplashOptions {
    std::string folder;                   // the launcher's own folder
    std::vector<std::string> parameters;  // the launcher's command-line parameters
    // Shows an error message modally (caption, text; both translated).
    std::function<void(const std::string&, const std::string&)> showError;
    // Ends the application with an exit code.
    std::function<void(int)> end;
    int loadDelayMs = kLoadDelayMs;
    int exitDelayMs = kExitDelayMs;
};

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    explicit TSplashForm(SSplashOptions options);

    const SSplashSettings& Settings() const { return settings_; }
    // What is handed to the client, built once from the parameters.
    const std::string& ArgumentString() const { return argumentString_; }

    QLabel* NameLabel = nullptr;
    QLabel* VersionLabel = nullptr;
    QLabel* BottomLabel = nullptr;
    QTimer* LoadTimer = nullptr;
    QTimer* ExitTimer = nullptr;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void LoadTimerTimer();
    void ExitTimerTimer();
    void ReportAndEnd(const std::string& fileName);

    SSplashOptions options_;
    SSplashSettings settings_;
    std::string argumentString_;
    QImage background_;
    bool activated_ = false;
};

}  // namespace z5r
