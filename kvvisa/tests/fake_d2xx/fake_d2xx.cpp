// A D2XX library with scripted devices, for tests of programs that load
// libftd2xx.so by name (KvVISA's USB sessions, and any other client of the
// D2XX interface). It is built as libftd2xx.so in a folder of its own, so a
// test reaches it through LD_LIBRARY_PATH, or by its path through
// KVVISA_D2XX_LIBRARY.
//
// The script is the file named by KV_FAKE_D2XX_SCRIPT, read again at every
// call, so a test changes the devices between (or during) calls by rewriting
// it. No variable, or no file, means no devices. Lines ('#' starts a comment):
//
//   device SERIAL DESCRIPTION...   a device is present; the list keeps the
//                                  order of these lines; the description is the
//                                  rest of the line
//   read-limit SERIAL N            each FT_Read on that device delivers at most
//                                  N bytes and returns at once
//   fail FUNCTION STATUS           the named function (e.g. FT_OpenEx) returns
//                                  STATUS (decimal) and does nothing else
//
// Every device echoes: what is written to it is what it has to be read. A read
// that finds fewer bytes than asked waits for the read time-out set with
// FT_SetTimeouts (0 waits for ever, as D2XX's default), and then returns what
// there is with FT_OK. A device whose line is removed from the script while it
// is open is unplugged: every call on its handle, a waiting read too, answers
// FT_IO_ERROR. A device that is open is flagged FT_FLAGS_OPENED in the list and
// cannot be opened a second time (FT_DEVICE_NOT_OPENED).
//
// When KV_FAKE_D2XX_LOG names a file, each call appends one line to it: the
// function, its arguments and the status it returned, e.g.
//   FT_OpenEx FT12AB34 1 = 0
//   FT_SetTimeouts FT12AB34 2000 2000 = 0
//   FT_Close FT12AB34 = 0
//
// Built with FAKE_D2XX_LISTING_ONLY it exports only the two listing functions;
// with FAKE_D2XX_WITHOUT_TRANSFERS it lacks FT_Read, FT_Write and FT_Close.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "d2xx/d2xx.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPollInterval = std::chrono::milliseconds(5);

struct Device {
    std::string serial;
    std::string description;
    std::optional<std::uint32_t> readLimit;
};

struct Script {
    std::vector<Device> devices;
    std::map<std::string, FT_STATUS> failures;

    const Device* Find(const std::string& serial) const {
        for (const auto& device : devices) {
            if (device.serial == serial) return &device;
        }
        return nullptr;
    }
};

Script ReadScript() {
    Script script;
    const char* path = getenv("KV_FAKE_D2XX_SCRIPT");
    if (path == nullptr) return script;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (keyword == "device") {
            Device device;
            words >> device.serial >> std::ws;
            std::getline(words, device.description);
            if (!device.serial.empty()) script.devices.push_back(device);
        } else if (keyword == "read-limit") {
            std::string serial;
            std::uint32_t limit = 0;
            words >> serial >> limit;
            for (auto& device : script.devices) {
                if (device.serial == serial) device.readLimit = limit;
            }
        } else if (keyword == "fail") {
            std::string function;
            FT_STATUS status = FT_OTHER_ERROR;
            words >> function >> status;
            script.failures[function] = status;
        }
    }
    return script;
}

struct OpenDevice {
    std::string serial;
    std::deque<std::uint8_t> echo;
    std::uint32_t readTimeoutMs = 0;
    std::uint32_t writeTimeoutMs = 0;
};

std::mutex gMutex;  // guards gOpen and the log
// Set once gOpen is destroyed: a program that exits with a session open
// closes it after this library's own destructors ran, and then finds every
// handle unknown instead of a destroyed map. A plain flag stays readable.
bool gOpenEnded = false;
// The open devices by handle. Owned here, so a build without FT_Close frees
// them when it is unloaded.
struct OpenDevices {
    std::map<FT_HANDLE, std::unique_ptr<OpenDevice>> byHandle;
    ~OpenDevices() {
        byHandle.clear();
        gOpenEnded = true;
    }
} gOpen;

bool IsOpen(const std::string& serial) {
    std::lock_guard<std::mutex> guard(gMutex);
    if (gOpenEnded) return false;
    return std::any_of(gOpen.byHandle.begin(), gOpen.byHandle.end(),
                       [&](const auto& open) { return open.second->serial == serial; });
}

// The device behind a handle this library gave out, or null.
OpenDevice* Opened(FT_HANDLE handle) {
    std::lock_guard<std::mutex> guard(gMutex);
    if (gOpenEnded) return nullptr;
    const auto it = gOpen.byHandle.find(handle);
    return it != gOpen.byHandle.end() ? it->second.get() : nullptr;
}

[[maybe_unused]] std::string SerialOf(FT_HANDLE handle) {
    const OpenDevice* device = Opened(handle);
    return device != nullptr ? device->serial : "-";
}

void Log(const std::string& line) {
    const char* path = getenv("KV_FAKE_D2XX_LOG");
    if (path == nullptr) return;
    std::lock_guard<std::mutex> guard(gMutex);
    std::ofstream(path, std::ios::app) << line << '\n';
}

FT_STATUS Logged(const std::string& call, FT_STATUS status) {
    Log(call + " = " + std::to_string(status));
    return status;
}

std::optional<FT_STATUS> ScriptedFailure(const Script& script, const char* function) {
    const auto it = script.failures.find(function);
    if (it == script.failures.end()) return std::nullopt;
    return it->second;
}

// The status of a call on `handle`, when the call cannot go on.
[[maybe_unused]] std::optional<FT_STATUS> Refusal(const Script& script, const char* function, FT_HANDLE handle) {
    if (Opened(handle) == nullptr) return FT_INVALID_HANDLE;
    if (const auto failure = ScriptedFailure(script, function)) return failure;
    if (script.Find(Opened(handle)->serial) == nullptr) return FT_IO_ERROR;
    return std::nullopt;
}

}  // namespace

extern "C" {

FT_STATUS FT_CreateDeviceInfoList(std::uint32_t* numDevs) {
    const Script script = ReadScript();
    if (const auto failure = ScriptedFailure(script, "FT_CreateDeviceInfoList")) {
        return Logged("FT_CreateDeviceInfoList", *failure);
    }
    if (numDevs == nullptr) return Logged("FT_CreateDeviceInfoList", FT_INVALID_PARAMETER);
    *numDevs = static_cast<std::uint32_t>(script.devices.size());
    return Logged("FT_CreateDeviceInfoList " + std::to_string(*numDevs), FT_OK);
}

FT_STATUS FT_GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* dest, std::uint32_t* numDevs) {
    const Script script = ReadScript();
    if (const auto failure = ScriptedFailure(script, "FT_GetDeviceInfoList")) {
        return Logged("FT_GetDeviceInfoList", *failure);
    }
    if (dest == nullptr || numDevs == nullptr) {
        return Logged("FT_GetDeviceInfoList", FT_INVALID_PARAMETER);
    }
    // As many nodes as the caller made room for, by the count it passes.
    const std::size_t n = std::min<std::size_t>(*numDevs, script.devices.size());
    for (std::size_t i = 0; i < n; ++i) {
        FT_DEVICE_LIST_INFO_NODE& node = dest[i];
        std::memset(&node, 0, sizeof node);
        const Device& device = script.devices[i];
        node.Flags = IsOpen(device.serial) ? FT_FLAGS_OPENED : 0;
        node.ID = 0x04036001;
        std::strncpy(node.SerialNumber, device.serial.c_str(), sizeof node.SerialNumber - 1);
        std::strncpy(node.Description, device.description.c_str(), sizeof node.Description - 1);
    }
    *numDevs = static_cast<std::uint32_t>(n);
    return Logged("FT_GetDeviceInfoList " + std::to_string(n), FT_OK);
}

#ifndef FAKE_D2XX_LISTING_ONLY

FT_STATUS FT_OpenEx(void* arg, std::uint32_t flags, FT_HANDLE* handle) {
    const Script script = ReadScript();
    const std::string serial = arg != nullptr ? static_cast<const char*>(arg) : "";
    const std::string call = "FT_OpenEx " + serial + " " + std::to_string(flags);
    if (const auto failure = ScriptedFailure(script, "FT_OpenEx")) return Logged(call, *failure);
    if (handle == nullptr || flags != FT_OPEN_BY_SERIAL_NUMBER) {
        return Logged(call, FT_INVALID_PARAMETER);
    }
    if (script.Find(serial) == nullptr) return Logged(call, FT_DEVICE_NOT_FOUND);
    if (IsOpen(serial)) return Logged(call, FT_DEVICE_NOT_OPENED);
    auto device = std::make_unique<OpenDevice>();
    device->serial = serial;
    *handle = device.get();
    bool kept = false;
    {
        std::lock_guard<std::mutex> guard(gMutex);
        if (!gOpenEnded) kept = gOpen.byHandle.emplace(*handle, std::move(device)).second;
    }
    return Logged(call, kept ? FT_OK : FT_DEVICE_NOT_OPENED);
}

FT_STATUS FT_SetTimeouts(FT_HANDLE handle, std::uint32_t readTimeoutMs,
                         std::uint32_t writeTimeoutMs) {
    const Script script = ReadScript();
    const std::string call = "FT_SetTimeouts " + SerialOf(handle) + " " +
                             std::to_string(readTimeoutMs) + " " + std::to_string(writeTimeoutMs);
    if (const auto refusal = Refusal(script, "FT_SetTimeouts", handle)) {
        return Logged(call, *refusal);
    }
    Opened(handle)->readTimeoutMs = readTimeoutMs;
    Opened(handle)->writeTimeoutMs = writeTimeoutMs;
    return Logged(call, FT_OK);
}

#ifndef FAKE_D2XX_WITHOUT_TRANSFERS

FT_STATUS FT_Read(FT_HANDLE handle, void* buffer, std::uint32_t bytesToRead,
                  std::uint32_t* bytesReturned) {
    const std::string serial = SerialOf(handle);
    const auto call = [&](std::uint32_t got) {
        return "FT_Read " + serial + " " + std::to_string(bytesToRead) + " " + std::to_string(got);
    };
    if (bytesReturned != nullptr) *bytesReturned = 0;
    Script script = ReadScript();
    if (const auto refusal = Refusal(script, "FT_Read", handle)) return Logged(call(0), *refusal);
    if (buffer == nullptr || bytesReturned == nullptr) {
        return Logged(call(0), FT_INVALID_PARAMETER);
    }
    OpenDevice& device = *Opened(handle);
    const auto limit = script.Find(serial)->readLimit;
    const auto deadline = Clock::now() + std::chrono::milliseconds(device.readTimeoutMs);
    // Waits for the whole count, unless the device is scripted to deliver less.
    while (!limit && device.echo.size() < bytesToRead &&
           (device.readTimeoutMs == 0 || Clock::now() < deadline)) {
        std::this_thread::sleep_for(kPollInterval);
        script = ReadScript();
        if (script.Find(serial) == nullptr) return Logged(call(0), FT_IO_ERROR);
    }
    std::size_t n = std::min<std::size_t>(bytesToRead, device.echo.size());
    if (limit) n = std::min<std::size_t>(n, *limit);
    std::copy_n(device.echo.begin(), n, static_cast<std::uint8_t*>(buffer));
    device.echo.erase(device.echo.begin(), device.echo.begin() + static_cast<long>(n));
    *bytesReturned = static_cast<std::uint32_t>(n);
    return Logged(call(*bytesReturned), FT_OK);
}

FT_STATUS FT_Write(FT_HANDLE handle, void* buffer, std::uint32_t bytesToWrite,
                   std::uint32_t* bytesWritten) {
    const std::string call = "FT_Write " + SerialOf(handle) + " " +
                             std::to_string(bytesToWrite);
    if (bytesWritten != nullptr) *bytesWritten = 0;
    const Script script = ReadScript();
    if (const auto refusal = Refusal(script, "FT_Write", handle)) return Logged(call, *refusal);
    if ((buffer == nullptr && bytesToWrite != 0) || bytesWritten == nullptr) {
        return Logged(call, FT_INVALID_PARAMETER);
    }
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    Opened(handle)->echo.insert(Opened(handle)->echo.end(), bytes, bytes + bytesToWrite);
    *bytesWritten = bytesToWrite;
    return Logged(call, FT_OK);
}

FT_STATUS FT_Close(FT_HANDLE handle) {
    const std::string call = "FT_Close " + SerialOf(handle);
    if (Opened(handle) == nullptr) return Logged(call, FT_INVALID_HANDLE);
    const Script script = ReadScript();
    if (const auto failure = ScriptedFailure(script, "FT_Close")) return Logged(call, *failure);
    {
        std::lock_guard<std::mutex> guard(gMutex);
        gOpen.byHandle.erase(handle);
    }
    return Logged(call, FT_OK);
}

#endif
#endif
}
