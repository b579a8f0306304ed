// The real program against the simulated instrument: started with a start
// address, it connects, sends its settings and ends cleanly when asked to.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include "core/profile.h"
#include "core/profile_enums.h"
#include "model/profile_list_file.h"
#include "instrument_limits.h"
#include "support/child_process.h"
#include "support/simulator_process.h"
#include "test_env.h"

namespace {

class ClientAgainstSimulator : public ::testing::Test {
protected:
    ClientAgainstSimulator() {
        std::filesystem::create_directories(dir_.Path() / "config");
        std::filesystem::create_directories(dir_.Path() / "runtime");
        chmod((dir_.Path() / "runtime").c_str(), 0700);
    }

    // Asks the simulator until `done` holds for its state, at most ~10 s:
    // the client works at its own pace.
    template <typename Done>
    std::map<std::string, std::string> WaitForState(Done done) {
        std::map<std::string, std::string> state;
        for (int i = 0; i < 200; ++i) {
            state = sim_.State();
            if (done(state)) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return state;
    }

    z5rtest::TempDir dir_;
    z5rtest::ScopedEnv home_{"HOME", dir_.Str()};
    z5rtest::ScopedEnv config_{"XDG_CONFIG_HOME", (dir_.Path() / "config").string()};
    z5rtest::ScopedEnv runtime_{"XDG_RUNTIME_DIR", (dir_.Path() / "runtime").string()};
    z5rtest::ScopedEnv platform_{"QT_QPA_PLATFORM", std::string("offscreen")};
    drvtest::CSimulator sim_;
};

TEST_F(ClientAgainstSimulator, ConnectsToTheStartAddressSendsItsSettingsAndEndsOnSigterm) {
    ASSERT_TRUE(sim_.Started());
    const z5rtest::ScopedEnv port("Z5R_INSTRUMENT_PORT", std::to_string(sim_.Port()));
    kvtest::ChildProcess client({CLIENT_PROGRAM, "-a", "127.0.0.1"});

    // The factory list's last profile: fixed frequency and power (the limit
    // discovery left a frequency sweep), the output off, both inside the
    // instrument's range.
    std::vector<z5r::SProfile> factory;
    ASSERT_EQ(z5r::ReadProfileListFile(std::filesystem::path(CLIENT_PROGRAM).parent_path() / "default.z5p",
                                       z5r::ESecureListTest::Skip, factory),
              z5r::EProfileListRead::Read);
    ASSERT_FALSE(factory.empty());
    const z5r::SProfile initial = factory.back();
    ASSERT_EQ(initial.controlparams.mode, z5r::omFixed);
    const double expectedLevel = std::max(initial.powparams.fix, z5rsim::kMinLevelCdb / 100.0);
    const auto number = [](const std::map<std::string, std::string>& s, const char* key) {
        return s.count(key) ? std::stod(s.at(key)) : -1.0;
    };
    const auto settingsArrived = [&](const std::map<std::string, std::string>& s) {
        return number(s, "Connections") >= 1 && number(s, "SweepMode") == initial.controlparams.mode;
    };
    const auto state = WaitForState(settingsArrived);
    ASSERT_TRUE(settingsArrived(state)) << "Connections=" << number(state, "Connections")
                                        << " SweepMode=" << number(state, "SweepMode");
    EXPECT_EQ(state.at("RfOutputEnabled"), "0");
    EXPECT_DOUBLE_EQ(number(state, "Level"), expectedLevel);
    EXPECT_GE(number(state, "CwFrequency"), double(z5rsim::kMinFrequencyHz));
    EXPECT_LE(number(state, "CwFrequency"), double(z5rsim::kMaxFrequencyHz));

    // The poll keeps asking while the client runs.
    const int requests = std::stoi(state.at("Requests"));
    const auto polled = WaitForState([&](const std::map<std::string, std::string>& s) {
        return s.count("Requests") && std::stoi(s.at("Requests")) > requests;
    });
    EXPECT_GT(std::stoi(polled.at("Requests")), requests);

    client.Kill(SIGTERM);
    EXPECT_EQ(client.Wait(10000), 0);
}

}  // namespace
