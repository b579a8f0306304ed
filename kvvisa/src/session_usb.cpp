#include "session_usb.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "find_list.h"
#include "resource_name.h"

namespace kv {

namespace {

// What a freshly opened device's read and write time-outs become.
constexpr ViUInt32 kOpenTimeoutMs = 2000;
// Clear opens again the way an application would.
constexpr ViAccessMode kClearMode = 1;
constexpr ViUInt32 kClearTimeoutMs = 1000;
// Positions in USBn::a::b::serial::RAW.
constexpr std::size_t kFirstNumberToken = 1;
constexpr std::size_t kSecondNumberToken = 2;
constexpr std::size_t kSerialToken = 3;
// More devices than one machine's buses can hold means the library is broken;
// its count must not size an allocation.
constexpr std::uint32_t kMostDevices = 4096;

std::string_view FixedText(const char* field, std::size_t size) {
    return {field, strnlen(field, size)};
}

std::string UsbEntry(const FT_DEVICE_LIST_INFO_NODE& node) {
    std::string entry = "USB::0::0::";
    entry += FixedText(node.SerialNumber, sizeof node.SerialNumber);
    entry += "::RAW\t\t";
    entry += FixedText(node.Description, sizeof node.Description);
    return entry;
}

bool UsbExpression(std::string_view expression) {
    return expression.empty() || expression == "USB" || expression == "W2T";
}

}  // namespace

CSessionUSB::~CSessionUSB() {
    if (device_ != nullptr && library_) {
        if (const auto close = KV_D2XX_ENTRY(*library_, FT_Close)) close(device_);
    }
}

ViStatus CSessionUSB::Connect(ViConstRsrc name, ViAccessMode, ViUInt32) {
    if (name == nullptr) return VI_ERROR_INV_RSRC_NAME;
    // A session is connected once; a second connect starts from scratch.
    if (device_ != nullptr) Disconnect();
    library_ = CD2xxLibrary::Load();
    if (!library_) return VI_ERROR_LIBRARY_NFOUND;
    resource_ = name;
    const auto tokens = SplitResource(resource_);
    if (tokens.size() <= kSerialToken) return VI_ERROR_RSRC_NFOUND;
    first_ = ParseDecimal(tokens[kFirstNumberToken]);
    second_ = ParseDecimal(tokens[kSecondNumberToken]);
    serial_ = tokens[kSerialToken];

    const auto open = KV_D2XX_ENTRY(*library_, FT_OpenEx);
    FT_HANDLE device = nullptr;
    if (open == nullptr || open(serial_.data(), FT_OPEN_BY_SERIAL_NUMBER, &device) != FT_OK ||
        device == nullptr) {
        return VI_ERROR_RSRC_NFOUND;
    }
    device_ = device;
    // A device left at the library's own time-outs could block a read for
    // ever: a device whose time-outs cannot be set is not kept open.
    const ViStatus timeouts = SetAttribute(VI_ATTR_TMO_VALUE, kOpenTimeoutMs);
    if (timeouts != VI_SUCCESS) {
        Disconnect();
        return VI_ERROR_RSRC_NFOUND;
    }
    return VI_SUCCESS;
}

ViStatus CSessionUSB::Disconnect() {
    if (device_ == nullptr) return VI_SUCCESS;
    const auto close = library_ ? KV_D2XX_ENTRY(*library_, FT_Close) : nullptr;
    if (close == nullptr || close(device_) != FT_OK) return VI_ERROR_INV_OBJECT;
    device_ = nullptr;
    return VI_SUCCESS;
}

ViStatus CSessionUSB::Clear() {
    const ViStatus closed = Disconnect();
    if (closed != VI_SUCCESS) return closed;
    library_.reset();
    device_ = nullptr;
    return Connect(resource_.c_str(), kClearMode, kClearTimeoutMs);
}

ViStatus CSessionUSB::SetAttribute(ViAttr attr, ViAttrState value) {
    if (attr != VI_ATTR_TMO_VALUE) return VI_ERROR_NSUP_ATTR;
    const auto setTimeouts = library_ ? KV_D2XX_ENTRY(*library_, FT_SetTimeouts) : nullptr;
    if (setTimeouts == nullptr) return VI_ERROR_INV_OBJECT;
    const auto ms = static_cast<ViUInt32>(std::min<ViAttrState>(value, VI_TMO_INFINITE));
    if (setTimeouts(device_, ms, ms) != FT_OK) return VI_ERROR_CONN_LOST;
    timeoutMs_ = ms;
    return VI_SUCCESS;
}

ViStatus CSessionUSB::GetAttribute(ViAttr attr, void* value) {
    if (attr != VI_ATTR_TMO_VALUE) return VI_ERROR_NSUP_ATTR;
    if (value == nullptr) return VI_ERROR_USER_BUF;
    *static_cast<ViUInt32*>(value) = timeoutMs_;
    return VI_SUCCESS;
}

ViStatus CSessionUSB::Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) {
    ViUInt32 ignored = 0;
    if (retCount == nullptr) retCount = &ignored;
    *retCount = 0;
    if (buf == nullptr && count != 0) return VI_ERROR_USER_BUF;
    const auto read = library_ ? KV_D2XX_ENTRY(*library_, FT_Read) : nullptr;
    if (read == nullptr) return VI_ERROR_IO;
    std::uint32_t got = 0;
    const FT_STATUS status = read(device_, buf, count, &got);
    // A library must not claim more than it was given room for.
    *retCount = std::min<ViUInt32>(got, count);
    if (status != FT_OK) return VI_ERROR_IO;
    return *retCount < count ? VI_ERROR_TMO : VI_SUCCESS;
}

ViStatus CSessionUSB::Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) {
    ViUInt32 ignored = 0;
    if (retCount == nullptr) retCount = &ignored;
    *retCount = 0;
    if (buf == nullptr && count != 0) return VI_ERROR_USER_BUF;
    const auto write = library_ ? KV_D2XX_ENTRY(*library_, FT_Write) : nullptr;
    if (write == nullptr) return VI_ERROR_IO;
    std::uint32_t put = 0;
    // D2XX takes a non-const buffer but only reads it.
    const FT_STATUS status = write(device_, const_cast<ViPBuf>(buf), count, &put);
    *retCount = std::min<ViUInt32>(put, count);
    return status == FT_OK ? VI_SUCCESS : VI_ERROR_IO;
}

ViStatus CSessionUSB::FindRsrc(ViConstString expr, CSessionFindList* list, ViPFindList,
                               ViPUInt32 retCnt, ViChar* desc) {
    if (!UsbExpression(expr != nullptr ? expr : "")) return VI_ERROR_RSRC_NFOUND;
    // Loaded for this search only.
    const auto library = CD2xxLibrary::Load();
    if (!library) return VI_ERROR_LIBRARY_NFOUND;
    const auto create = KV_D2XX_ENTRY(*library, FT_CreateDeviceInfoList);
    const auto getList = KV_D2XX_ENTRY(*library, FT_GetDeviceInfoList);
    std::uint32_t count = 0;
    if (create == nullptr || getList == nullptr || create(&count) != FT_OK ||
        count > kMostDevices) {
        return VI_ERROR_RSRC_NFOUND;
    }
    std::vector<FT_DEVICE_LIST_INFO_NODE> nodes(count);
    std::uint32_t filled = count;
    if (count > 0 && getList(nodes.data(), &filled) != FT_OK) return VI_ERROR_RSRC_NFOUND;

    std::vector<std::string> entries;
    for (std::uint32_t i = 0; i < std::min(count, filled); ++i) entries.push_back(UsbEntry(nodes[i]));
    DeliverEntries(entries, list, retCnt, desc);
    return VI_SUCCESS;
}

}  // namespace kv
