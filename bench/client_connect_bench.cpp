// The main window connecting to the simulated instrument and applying its
// whole settings record (from the connect action to the poll running), and
// the window sending a 5001-point list, against plain-socket round trips to
// the same simulator measured in the same run. Each figure carries the
// number of instrument exchanges it took (the simulator counts the requests
// it answered) and the window's own share: the time left after the
// exchanges, each costed at one plain round trip, divided by the whole.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/paths.h"
#include "gui_main.h"
#include "korvel/com_registry.h"
#include "korvel/korvel_v8n.h"
#include "korvel/components/kv_spin_edit.h"
#include "kvproto/instrument_map.h"
#include "kvproto/packet_io.h"
#include "support/simulator_process.h"
#include "ui/scripted_prompt.h"
#include "z5r/i18n.h"

namespace {

using Clock = std::chrono::steady_clock;

drvtest::CSimulator* g_sim = nullptr;
double g_roundTripSeconds = 0;  // median plain round trip, measured first

long Requests() {
    const auto state = g_sim->State();
    const auto found = state.find("Requests");
    return found == state.end() ? -1 : std::atol(found->second.c_str());
}

// One KV_GET of the instrument type over a plain blocking socket.
class CPlainLink {
public:
    explicit CPlainLink(int port) {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int one = 1;
        setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        ok_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        const auto& row = kvproto::InstrumentField(kvproto::EInstrumentField::InstrumentType);
        request_ = kvproto::BuildParameterPacket(kvproto::KV_GET, row.param, {double(row.index)},
                                                 kvproto::InstrumentParamFormat(row.param));
    }
    ~CPlainLink() {
        if (fd_ >= 0) close(fd_);
    }
    bool RoundTrip() {
        if (!ok_) return false;
        const auto write = [this](const std::uint8_t* data, std::uint32_t count, std::uint32_t* done) {
            const ssize_t n = send(fd_, data, count, MSG_NOSIGNAL);
            *done = n > 0 ? static_cast<std::uint32_t>(n) : 0;
            return n > 0 ? kvproto::kStatusSuccess : kvproto::kStatusTimeout;
        };
        const auto read = [this](std::uint8_t* data, std::uint32_t count, std::uint32_t* done) {
            const ssize_t n = recv(fd_, data, count, 0);
            *done = n > 0 ? static_cast<std::uint32_t>(n) : 0;
            return n > 0 ? kvproto::kStatusSuccess : kvproto::kStatusTimeout;
        };
        if (kvproto::SendBytes(write, request_.data(), static_cast<std::uint32_t>(request_.size())) != 0) {
            return false;
        }
        return kvproto::ReceivePacket(read, answer_) == kvproto::kStatusSuccess;
    }

private:
    int fd_ = -1;
    bool ok_ = false;
    std::vector<std::uint8_t> request_;
    std::vector<std::uint8_t> answer_;
};

// A main window as the program makes it, answering every question with its
// default and never opening a dialog.
struct SWindow {
    z5r::CScriptedPrompt prompt{z5r::EPromptResult::No};
    std::unique_ptr<z5r::TMain> main;
    SWindow() {
        z5r::STMainOptions options;
        options.prompt = &prompt;
        options.arguments = {"-a", "127.0.0.1"};
        options.runModal = [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
        options.requestTerminate = [] {};
        main = std::make_unique<z5r::TMain>(std::move(options));
    }
};

void ReportShare(benchmark::State& state, double seconds, long exchanges) {
    const double perIteration = seconds / static_cast<double>(state.iterations());
    const double own = perIteration - static_cast<double>(exchanges) * g_roundTripSeconds;
    state.counters["exchanges"] = static_cast<double>(exchanges);
    state.counters["plain_rtt_us"] = g_roundTripSeconds * 1e6;
    state.counters["window_share"] = own / perIteration;
}

void BM_PlainRoundTrip(benchmark::State& state) {
    CPlainLink link(g_sim->Port());
    for (auto _ : state) {
        if (!link.RoundTrip()) state.SkipWithError("plain round trip failed");
    }
}
BENCHMARK(BM_PlainRoundTrip)->Unit(benchmark::kMicrosecond);

void BM_ConnectAndApply(benchmark::State& state) {
    double seconds = 0;
    long exchanges = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SWindow window;
        const long before = Requests();
        state.ResumeTiming();
        const auto start = Clock::now();
        window.main->ConnectActionExecute();
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
        state.PauseTiming();
        if (!window.main->State().connectedFlag || !window.main->Timer1->isActive()) {
            state.SkipWithError("the window did not connect");
        }
        exchanges = Requests() - before;
        window.main->DisconnectActionExecute();
        state.ResumeTiming();
    }
    ReportShare(state, seconds, exchanges);
}
BENCHMARK(BM_ConnectAndApply)->Unit(benchmark::kMillisecond)->Iterations(10);

// The combined sweep runs as a list the window builds: 5001 points, sent
// when the point count is confirmed.
void BM_SendList5001(benchmark::State& state) {
    SWindow window;
    window.main->ConnectActionExecute();
    if (!window.main->State().connectedFlag) {
        state.SkipWithError("the window did not connect");
        return;
    }
    window.main->ModeCB->setCurrentIndex(3);
    korvel::TKvSpinEdit* points = window.main->Edit(4);
    double seconds = 0;
    long exchanges = 0;
    int flip = 0;
    for (auto _ : state) {
        // Alternate the start so every confirmation sends a new list.
        state.PauseTiming();
        window.main->Edit(0)->SetValue(flip++ % 2 == 0 ? 1.0e9 : 1.1e9);
        window.main->Edit(0)->OnValidate(window.main->Edit(0));
        points->SetValue(5001);
        points->SetChangedVal(true);
        const long before = Requests();
        state.ResumeTiming();
        const auto start = Clock::now();
        points->OnValidate(points);
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
        state.PauseTiming();
        exchanges = Requests() - before;
        state.ResumeTiming();
    }
    window.main->DisconnectActionExecute();
    ReportShare(state, seconds, exchanges);
}
BENCHMARK(BM_SendList5001)->Unit(benchmark::kMillisecond)->Iterations(10);

double MedianRoundTrip(int count) {
    CPlainLink link(g_sim->Port());
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const auto start = Clock::now();
        if (!link.RoundTrip()) return 0;
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char appDir[] = "/tmp/z5r_bench_XXXXXX";
    if (mkdtemp(appDir) == nullptr) return 1;
    setenv("HOME", appDir, 1);
    setenv("XDG_CONFIG_HOME", (std::string(appDir) + "/config").c_str(), 1);
    QApplication app(argc, argv);
    z5r::SetupCatalogue(APP_LOCALE_DIR, "ru");

    std::string error;
    if (!korvel::RegisterPlugin(KORVEL_PLUGIN_PATH, korvel::CLSID_KorvelV8N, &error)) {
        std::fprintf(stderr, "driver: %s\n", error.c_str());
        return 1;
    }
    drvtest::CSimulator sim;
    if (!sim.Started()) {
        std::fprintf(stderr, "z5r-sim did not start\n");
        return 1;
    }
    g_sim = &sim;
    setenv("Z5R_INSTRUMENT_PORT", std::to_string(sim.Port()).c_str(), 1);
    g_roundTripSeconds = MedianRoundTrip(200);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(appDir);
    return 0;
}
