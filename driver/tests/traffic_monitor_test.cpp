// The driver's traffic goes through the VISA library's hook: a monitor
// opened on the same resource with the text layer shows its commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "kvvisa/visa.h"
#include "support/simulated_driver.h"

namespace {

using namespace korvel;
using Clock = std::chrono::steady_clock;

// Reads a text monitor on a thread of its own: the hook waits for every
// attached monitor to take each record, so it must read all the time the
// driver talks.
class CMonitorReader {
public:
    explicit CMonitorReader(ViSession monitor)
        : monitor_(monitor), thread_([this] { Read(); }) {}
    ~CMonitorReader() {
        stop_ = true;
        thread_.join();
    }

    // Waits (bounded) until `count` lines contain `text`; all lines so far.
    std::vector<std::string> WaitForLines(const std::string& text, std::size_t count) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, std::chrono::seconds(5), [&] {
            return std::size_t(std::count_if(lines_.begin(), lines_.end(), [&](const std::string& l) {
                       return l.find(text) != std::string::npos;
                   })) >= count;
        });
        return lines_;
    }

private:
    void Read() {
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        while (!stop_ && Clock::now() < deadline) {
            char line[512] = {};
            ViUInt32 count = 0;
            // Nothing published within a short while answers "busy".
            if (viRead(monitor_, reinterpret_cast<ViBuf>(line), sizeof line - 1, &count) !=
                    VI_SUCCESS ||
                count == 0) {
                continue;
            }
            std::lock_guard lock(mutex_);
            lines_.emplace_back(line);
            arrived_.notify_all();
        }
    }

    ViSession monitor_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::string> lines_;
    std::thread thread_;
};

class DriverTraffic : public drvtest::SimulatedDriver {};

TEST_F(DriverTraffic, AMonitorShowsTheDriversCommandsAsText) {
    StartAndOpen();
    if (IsSkipped() || HasFatalFailure()) return;

    ViSession rm = VI_NULL, monitor = VI_NULL;
    ASSERT_EQ(viOpenDefaultRM(&rm), VI_SUCCESS);
    ASSERT_EQ(viOpen(rm, (sim_->Resource() + "::HOOK::TCS").c_str(), VI_NULL, 0, &monitor),
              VI_SUCCESS);
    std::vector<std::string> lines;
    {
        CMonitorReader reader(monitor);
        EXPECT_EQ(rf_->put_Frequency(1.5e9), S_OK);
        double level = 0;
        EXPECT_EQ(rf_->get_Level(&level), S_OK);
        // The level's request and its answer.
        lines = reader.WaitForLines("P_RF_OUT", 2);
    }
    viClose(monitor);

    const auto has = [&](const std::string& text) {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(has("P_FREQUENCY")) << ::testing::PrintToString(lines);
    EXPECT_TRUE(has("1500000000")) << ::testing::PrintToString(lines);
    EXPECT_TRUE(has("P_RF_OUT")) << ::testing::PrintToString(lines);
}

}  // namespace
