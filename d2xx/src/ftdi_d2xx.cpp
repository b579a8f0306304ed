// The seven D2XX functions KvVISA uses, over libftdi1, for machines without
// FTDI's own library. Devices are the bridges libftdi1 finds at FTDI's
// vendor id with its standard product ids; a chip with several interfaces is
// reached through its first one.
#include <ftdi.h>
#include <libusb.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "d2xx/d2xx.h"

namespace {

using Clock = std::chrono::steady_clock;

// How long a read that lacks bytes waits before asking the chip again (the
// chip itself answers every latency period, 16 ms by default).
constexpr auto kReadPause = std::chrono::milliseconds(1);

struct Bridge {
    std::string serial;
    std::string description;
    std::uint32_t id = 0;  // vendor << 16 | product
};

// One libftdi1 context per call or per open device.
struct Context {
    ftdi_context* ftdi = ftdi_new();
    ~Context() {
        if (ftdi != nullptr) ftdi_free(ftdi);
    }
    Context() = default;
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
};

// Calls `visit(device, bridge)` for each bridge present; false when USB
// cannot be asked at all.
template <typename Visit>
bool ForEachBridge(Context& context, Visit&& visit) {
    if (context.ftdi == nullptr) return false;
    ftdi_device_list* list = nullptr;
    if (ftdi_usb_find_all(context.ftdi, &list, 0, 0) < 0) return false;
    for (ftdi_device_list* item = list; item != nullptr; item = item->next) {
        Bridge bridge;
        char description[64] = {};
        char serial[16] = {};
        // A bridge this user may not open keeps empty texts.
        if (ftdi_usb_get_strings(context.ftdi, item->dev, nullptr, 0, description,
                                 sizeof description, serial, sizeof serial) == 0) {
            bridge.description = description;
            bridge.serial = serial;
        }
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(item->dev, &descriptor) == 0) {
            bridge.id = static_cast<std::uint32_t>(descriptor.idVendor) << 16 | descriptor.idProduct;
        }
        if (!visit(item->dev, bridge)) break;
    }
    ftdi_list_free(&list);
    return true;
}

struct OpenBridge {
    Context context;
    std::uint32_t readTimeoutMs = 0;  // 0: wait for ever, as D2XX does
};

OpenBridge* Opened(FT_HANDLE handle) { return static_cast<OpenBridge*>(handle); }

}  // namespace

extern "C" {

// The devices are listed at each call; FT_GetDeviceInfoList lists them again,
// so a bridge plugged in between may change the count it reports.
FT_STATUS FT_CreateDeviceInfoList(std::uint32_t* numDevs) {
    if (numDevs == nullptr) return FT_INVALID_PARAMETER;
    *numDevs = 0;
    Context context;
    // A machine where USB cannot be asked has no bridges.
    ForEachBridge(context, [&](libusb_device*, const Bridge&) {
        ++*numDevs;
        return true;
    });
    return FT_OK;
}

FT_STATUS FT_GetDeviceInfoList(
    FT_DEVICE_LIST_INFO_NODE* dest, std::uint32_t* numDevs) {
    if (dest == nullptr || numDevs == nullptr) return FT_INVALID_PARAMETER;
    const std::uint32_t room = *numDevs;
    std::uint32_t filled = 0;
    Context context;
    ForEachBridge(context, [&](libusb_device*, const Bridge& bridge) {
        if (filled == room) return false;
        FT_DEVICE_LIST_INFO_NODE& node = dest[filled++];
        std::memset(&node, 0, sizeof node);
        node.ID = bridge.id;
        bridge.serial.copy(node.SerialNumber, sizeof node.SerialNumber - 1);
        bridge.description.copy(node.Description, sizeof node.Description - 1);
        return true;
    });
    *numDevs = filled;
    return FT_OK;
}

FT_STATUS FT_OpenEx(void* arg, std::uint32_t flags,
                                                           FT_HANDLE* handle) {
    if (arg == nullptr || handle == nullptr) return FT_INVALID_PARAMETER;
    if (flags != FT_OPEN_BY_SERIAL_NUMBER) return FT_INVALID_PARAMETER;
    const std::string wanted = static_cast<const char*>(arg);
    auto bridge = new OpenBridge;
    FT_STATUS status = FT_DEVICE_NOT_FOUND;
    Context listing;
    ForEachBridge(listing, [&](libusb_device* device, const Bridge& found) {
        if (found.serial.empty() || found.serial != wanted) return true;
        status = bridge->context.ftdi != nullptr &&
                         ftdi_usb_open_dev(bridge->context.ftdi, device) == 0
                     ? FT_OK
                     : FT_DEVICE_NOT_OPENED;
        return false;
    });
    if (status != FT_OK) {
        delete bridge;
        return status;
    }
    *handle = bridge;
    return FT_OK;
}

FT_STATUS FT_SetTimeouts(FT_HANDLE handle,
                                                                std::uint32_t readTimeoutMs,
                                                                std::uint32_t writeTimeoutMs) {
    if (handle == nullptr) return FT_INVALID_HANDLE;
    OpenBridge& bridge = *Opened(handle);
    bridge.readTimeoutMs = readTimeoutMs;
    // libusb takes an int; 0 means no limit there too.
    bridge.context.ftdi->usb_write_timeout =
        static_cast<int>(std::min<std::uint32_t>(writeTimeoutMs, INT32_MAX));
    return FT_OK;
}

FT_STATUS FT_Read(FT_HANDLE handle, void* buffer,
                                                         std::uint32_t bytesToRead,
                                                         std::uint32_t* bytesReturned) {
    if (handle == nullptr) return FT_INVALID_HANDLE;
    if (bytesReturned == nullptr || (buffer == nullptr && bytesToRead != 0)) {
        return FT_INVALID_PARAMETER;
    }
    *bytesReturned = 0;
    OpenBridge& bridge = *Opened(handle);
    auto* bytes = static_cast<unsigned char*>(buffer);
    const auto deadline = Clock::now() + std::chrono::milliseconds(bridge.readTimeoutMs);
    // libftdi1 hands out what the chip has; D2XX waits for the whole count.
    while (*bytesReturned < bytesToRead) {
        const std::uint32_t left = bytesToRead - *bytesReturned;
        const int got = ftdi_read_data(bridge.context.ftdi, bytes + *bytesReturned,
                                       static_cast<int>(std::min<std::uint32_t>(left, INT32_MAX)));
        if (got < 0) return FT_IO_ERROR;
        *bytesReturned += static_cast<std::uint32_t>(got);
        if (got == 0) {
            if (bridge.readTimeoutMs != 0 && Clock::now() >= deadline) break;
            std::this_thread::sleep_for(kReadPause);
        }
    }
    return FT_OK;
}

FT_STATUS FT_Write(FT_HANDLE handle, void* buffer,
                                                          std::uint32_t bytesToWrite,
                                                          std::uint32_t* bytesWritten) {
    if (handle == nullptr) return FT_INVALID_HANDLE;
    if (bytesWritten == nullptr || (buffer == nullptr && bytesToWrite != 0)) {
        return FT_INVALID_PARAMETER;
    }
    *bytesWritten = 0;
    const int put = ftdi_write_data(Opened(handle)->context.ftdi,
                                    static_cast<const unsigned char*>(buffer),
                                    static_cast<int>(std::min<std::uint32_t>(bytesToWrite, INT32_MAX)));
    if (put < 0) return FT_IO_ERROR;
    *bytesWritten = static_cast<std::uint32_t>(put);
    return FT_OK;
}

FT_STATUS FT_Close(FT_HANDLE handle) {
    if (handle == nullptr) return FT_INVALID_HANDLE;
    OpenBridge* bridge = Opened(handle);
    const int closed = ftdi_usb_close(bridge->context.ftdi);
    delete bridge;
    return closed == 0 ? FT_OK : FT_IO_ERROR;
}

}  // extern "C"
