#include "find_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "session_asrl.h"
#include "session_tcpip.h"
#include "session_usb.h"

namespace kv {

void WriteDescription(ViChar* desc, std::string_view name, std::string_view annotation) {
    if (desc == nullptr) return;
    constexpr size_t kSize = VI_FIND_BUFLEN;
    // Room for the name and its zero byte first, then the annotation and its own.
    const size_t nameLength = std::min(name.size(), kSize - 2);
    std::memcpy(desc, name.data(), nameLength);
    desc[nameLength] = '\0';
    const size_t annotationLength = std::min(annotation.size(), kSize - 2 - nameLength);
    std::memcpy(desc + nameLength + 1, annotation.data(), annotationLength);
    desc[nameLength + 1 + annotationLength] = '\0';
}

void DeliverEntries(const std::vector<std::string>& entries, CSessionFindList* list,
                    ViPUInt32 retCnt, ViChar* desc) {
    if (entries.empty()) return;
    const std::string_view first = entries.front();
    const auto tab = std::min(first.find('\t'), first.size());
    WriteDescription(desc, first.substr(0, tab), first.substr(tab));
    if (retCnt != nullptr) *retCnt = static_cast<ViUInt32>(entries.size());
    if (list != nullptr) {
        for (const auto& entry : entries) list->Append(entry);
    }
}

void CSessionFindList::Append(std::string_view entry) {
    const auto tab = entry.find('\t');
    if (tab == std::string_view::npos) {
        names_.emplace_back(entry);
        annotations_.emplace_back();
    } else {
        names_.emplace_back(entry.substr(0, tab));
        annotations_.emplace_back(entry.substr(tab));
    }
}

ViStatus CSessionFindList::FindRsrc(ViConstString expr, CSessionFindList*, ViPFindList,
                                    ViPUInt32 retCnt, ViChar* desc) {
    const char* network = getenv(kNetworkSearchVariable);
    const bool leftOut = network != nullptr && std::string_view(network) == "off";
    return Build(expr, leftOut ? ENetworkSearch::LeftOut : ENetworkSearch::Included, retCnt, desc);
}

ViStatus CSessionFindList::Build(ViConstString expr, ENetworkSearch network, ViPUInt32 retCnt,
                                 ViChar* desc, SSearchStatuses* statuses) {
    // Serial ports first, then USB devices, then network instruments; each
    // transport's session exists only for its part of the search.
    SSearchStatuses answered;
    answered.serial = CSessionASRL().FindRsrc(expr, this, nullptr, retCnt, desc);
    answered.usb = CSessionUSB().FindRsrc(expr, this, nullptr, retCnt, desc);
    if (network == ENetworkSearch::Included) {
        answered.network = CSessionTCPIP().FindRsrc(expr, this, nullptr, retCnt, desc);
    }
    if (statuses != nullptr) *statuses = answered;
    if (names_.empty()) return VI_ERROR_RSRC_NFOUND;
    if (retCnt != nullptr) *retCnt = static_cast<ViUInt32>(names_.size());
    WriteDescription(desc, names_[0], annotations_[0]);
    current_ = 0;
    return VI_SUCCESS;
}

ViStatus CSessionFindList::FindNext(ViChar* desc) {
    ++current_;
    if (current_ >= names_.size()) {
        current_ = names_.size();
        return VI_ERROR_RSRC_NFOUND;
    }
    WriteDescription(desc, names_[current_], annotations_[current_]);
    return current_ + 1 == names_.size() ? VI_ERROR_RSRC_NFOUND : VI_SUCCESS;
}

ViStatus CSessionFindList::Connect(ViConstRsrc, ViAccessMode, ViUInt32) { return VI_SUCCESS; }
ViStatus CSessionFindList::Disconnect() { return VI_SUCCESS; }
ViStatus CSessionFindList::SetAttribute(ViAttr, ViAttrState) { return VI_ERROR_NSUP_ATTR; }
ViStatus CSessionFindList::GetAttribute(ViAttr, void*) { return VI_ERROR_NSUP_ATTR; }

}  // namespace kv
