// The main window against the real driver plugin and the simulated
// instrument: the simulator runs on free ports and the window reaches it
// through the port seam (Z5R_INSTRUMENT_PORT).
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/tests/initial_default_list.h"
#include "core/paths.h"
#include "gui_main.h"
#include "korvel/com_registry.h"
#include "korvel/korvel_v8n.h"
#include "support/simulator_process.h"
#include "test_env.h"
#include "ui/scripted_prompt.h"
#include "z5r/i18n.h"

namespace z5rtest {

// Processes events until `done` holds or about five seconds passed.
inline bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 500 && !done(); ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// A port on 127.0.0.1 that nothing listens on (bound once, then released).
inline int UnusedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    if (fd >= 0) close(fd);
    return port;
}

// The scripted prompt, running `onShow` before it answers: what happens in
// the world while a question is open.
class CHookedPrompt : public z5r::CScriptedPrompt {
public:
    using z5r::CScriptedPrompt::CScriptedPrompt;
    std::function<void(const z5r::SPromptMessage&)> onShow;
    z5r::EPromptResult ShowMessage(const z5r::SPromptMessage& message) override {
        if (onShow) onShow(message);
        return z5r::CScriptedPrompt::ShowMessage(message);
    }
};

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        z5r::SetupCatalogue(APP_LOCALE_DIR, "ru");
        z5r::SetApplicationDirOverride(appDir_.Str());
        std::ofstream(appDir_.Path() / "config.xml") << "<connection/>\n";
        z5rtest::WriteInitialDefaultList(appDir_.Str());
        std::string error;
        ASSERT_TRUE(korvel::RegisterPlugin(KORVEL_PLUGIN_PATH, korvel::CLSID_KorvelV8N, &error)) << error;
        StartSimulator();
    }
    void TearDown() override {
        main_.reset();
        z5r::SetApplicationDirOverride("");
    }

    // Starts the simulator (again on `port` when given) and points the window at it.
    void StartSimulator(int port = 0) {
        std::vector<std::string> options;
        if (port != 0) options = {"--port", std::to_string(port)};
        sim_ = std::make_unique<drvtest::CSimulator>(options);
        ASSERT_TRUE(sim_->Started()) << "z5r-sim did not start";
        PointAtPort(sim_->Port());
    }
    void PointAtPort(int port) {
        port_.reset();  // the old value is restored first, then replaced
        port_ = std::make_unique<ScopedEnv>("Z5R_INSTRUMENT_PORT", std::to_string(port));
    }

    z5r::TMain& MakeMain(std::vector<std::string> arguments = {}) {
        z5r::STMainOptions options;
        options.prompt = &prompt_;
        options.arguments = std::move(arguments);
        options.runModal = [this](QDialog& dialog) {
            modalShown_.push_back(&dialog);
            return static_cast<int>(QDialog::Rejected);
        };
        options.requestTerminate = [this] { ++terminateRequests_; };
        main_ = std::make_unique<z5r::TMain>(std::move(options));
        return *main_;
    }
    // Connects through a start address, as "-a 127.0.0.1" does.
    z5r::TMain& MakeConnectedMain() {
        z5r::TMain& main = MakeMain({"-a", "127.0.0.1"});
        main.ConnectActionExecute();
        EXPECT_TRUE(main.State().connectedFlag) << LastMessage();
        return main;
    }

    // A shown window connected to the simulator, the status poll stopped so
    // that only the handlers talk to the instrument.
    z5r::TMain& ShownConnectedMain() {
        z5r::TMain& main = MakeMain({"-a", "127.0.0.1"});
        main.show();
        if (!main.State().connectedFlag) main.ConnectActionExecute();
        EXPECT_TRUE(WaitFor([&] { return main.State().connectedFlag; })) << LastMessage();
        main.Timer1->stop();
        prompt_.ClearShown();
        return main;
    }

    std::string SimState(const std::string& key) {
        const auto state = sim_->State();
        const auto found = state.find(key);
        return found == state.end() ? std::string("<missing>") : found->second;
    }
    // How many messages with exactly `text` were shown.
    int MessagesWithText(const std::string& text) const {
        int count = 0;
        for (const auto& message : prompt_.Shown()) count += message.text == text ? 1 : 0;
        return count;
    }
    std::string LastMessage() const { return prompt_.Shown().empty() ? "" : prompt_.Shown().back().text; }
    static QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

    UserFolders folders_;
    TempDir appDir_;
    std::unique_ptr<drvtest::CSimulator> sim_;
    std::unique_ptr<ScopedEnv> port_;
    CHookedPrompt prompt_{z5r::EPromptResult::No};
    std::vector<QDialog*> modalShown_;
    int terminateRequests_ = 0;
    std::unique_ptr<z5r::TMain> main_;
};

}  // namespace z5rtest
