// The library called from several threads at once through its C interface,
// as an application does whose search runs on one thread while another opens
// sessions. Meant to run under the thread sanitizer as well (KV_TSAN).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "kvvisa/visa.h"
#include "support/scripted_peer.h"

namespace {

constexpr std::size_t kRequestSize = 16;
constexpr std::size_t kAnswerSize = 22;

// The instrument: answers every 16-byte request with 22 bytes derived from it.
kvtest::ScriptedPeer::Script Answering() {
    return [](int fd) {
        for (;;) {
            std::array<ViByte, kRequestSize> request{};
            if (!kvtest::ReadExactly(fd, request.data(), request.size())) return;
            std::array<ViByte, kAnswerSize> answer{};
            for (std::size_t i = 0; i < answer.size(); ++i)
                answer[i] = static_cast<ViByte>(request[0] + i);
            kvtest::WriteAll(fd, answer.data(), answer.size());
        }
    };
}

// Takes every request and answers nothing.
kvtest::ScriptedPeer::Script Swallowing() {
    return [](int fd) {
        std::array<ViByte, kRequestSize> request{};
        while (kvtest::ReadExactly(fd, request.data(), request.size(), 30000)) {
        }
    };
}

ViSession OpenOrZero(const std::string& resource) {
    ViSession rm = VI_NULL;
    ViSession vi = VI_NULL;
    viOpenDefaultRM(&rm);
    return viOpen(rm, resource.c_str(), VI_NULL, 0, &vi) == VI_SUCCESS ? vi : VI_NULL;
}

// One request and its answer; true when the answer is the one for `first`.
bool Exchange(ViSession vi, ViByte first) {
    std::array<ViByte, kRequestSize> request{};
    request[0] = first;
    std::array<ViByte, kAnswerSize> answer{};
    ViUInt32 count = 0;
    if (viWrite(vi, request.data(), kRequestSize, &count) != VI_SUCCESS) return false;
    if (viRead(vi, answer.data(), kAnswerSize, &count) != VI_SUCCESS) return false;
    for (std::size_t i = 0; i < answer.size(); ++i) {
        if (answer[i] != static_cast<ViByte>(first + i)) return false;
    }
    return true;
}

TEST(Threads, SessionsOpenedExchangedAndClosedOnSeveralThreadsStayApart) {
    constexpr int kThreads = 4;
    constexpr int kRounds = 15;
    kvtest::ScriptedPeer instrument(Answering());
    const std::string resource = instrument.Resource();

    std::atomic<int> failures{0};
    std::mutex heldMutex;
    std::set<ViSession> held;  // handles open right now, over all threads
    std::atomic<int> sharedHandles{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round) {
                const ViSession vi = OpenOrZero(resource);
                if (vi == VI_NULL) {
                    ++failures;
                    continue;
                }
                {
                    std::lock_guard<std::mutex> guard(heldMutex);
                    if (!held.insert(vi).second) ++sharedHandles;
                }
                for (int k = 0; k < 3; ++k) {
                    if (!Exchange(vi, static_cast<ViByte>(t * 40 + round + k))) ++failures;
                }
                {
                    std::lock_guard<std::mutex> guard(heldMutex);
                    held.erase(vi);
                }
                if (viClose(vi) != VI_SUCCESS) ++failures;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(sharedHandles.load(), 0);
}

// What one thread saw of a handle another thread closed: only successes,
// then only VI_ERROR_INV_OBJECT, and nothing else.
struct Sightings {
    int successes = 0;
    int invalid = 0;
    int other = 0;
    bool successAfterInvalid = false;
    void Note(ViStatus status) {
        if (status == VI_SUCCESS) {
            ++successes;
            if (invalid > 0) successAfterInvalid = true;
        } else if (status == VI_ERROR_INV_OBJECT) {
            ++invalid;
        } else {
            ++other;
        }
    }
};

TEST(Threads, CallsOnASessionBeingClosedAnswerInvalidObject) {
    constexpr int kCallers = 3;
    constexpr int kRounds = 6;
    constexpr int kInvalidSeen = 20;  // calls after the close before a caller stops
    kvtest::ScriptedPeer instrument(Swallowing());
    const std::string resource = instrument.Resource();

    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        const ViSession vi = OpenOrZero(resource);
        ASSERT_NE(vi, VI_NULL);
        std::atomic<int> started{0};
        std::vector<Sightings> seen(kCallers);
        std::vector<std::thread> callers;
        for (int c = 0; c < kCallers; ++c) {
            callers.emplace_back([&, c] {
                const std::array<ViByte, kRequestSize> request{};
                ++started;
                while (seen[c].invalid < kInvalidSeen && seen[c].other == 0) {
                    ViUInt32 count = 0;
                    ViUInt32 timeout = 0;
                    switch ((seen[c].successes + seen[c].invalid) % 3) {
                        case 0:
                            seen[c].Note(viWrite(vi, request.data(), kRequestSize, &count));
                            break;
                        case 1:
                            seen[c].Note(viGetAttribute(vi, VI_ATTR_TMO_VALUE, &timeout));
                            break;
                        default:
                            seen[c].Note(viSetAttribute(vi, VI_ATTR_TMO_VALUE, 2000));
                            break;
                    }
                }
            });
        }
        while (started.load() < kCallers) std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(viClose(vi), VI_SUCCESS);
        for (auto& caller : callers) caller.join();
        for (const Sightings& s : seen) {
            EXPECT_EQ(s.other, 0);
            EXPECT_EQ(s.invalid, kInvalidSeen);
            EXPECT_FALSE(s.successAfterInvalid);
        }
        EXPECT_EQ(viClose(vi), VI_ERROR_INV_OBJECT);
    }
}

}  // namespace
