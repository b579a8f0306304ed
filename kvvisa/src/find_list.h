// The result of a resource search, walked with viFindNext.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base_session.h"

namespace kv {

// Writes one find-list entry into a caller's description buffer: the name, a
// zero byte, the annotation (starting with its tab), a zero byte. The standard
// sizes that buffer at VI_FIND_BUFLEN bytes and nothing is written past them:
// an annotation that does not fit is shortened, and so, failing that, is the
// name. A null buffer is left alone.
void WriteDescription(ViChar* desc, std::string_view name, std::string_view annotation);

class CSessionFindList;

// A transport's part of a search: with at least one entry, writes their count
// and the first one into the out arguments and appends them all to `list`;
// with none, touches nothing.
void DeliverEntries(const std::vector<std::string>& entries, CSessionFindList* list,
                    ViPUInt32 retCnt, ViChar* desc);

// "off" keeps every search of the process off the network: no broadcast,
// serial ports and USB devices only.
inline constexpr char kNetworkSearchVariable[] = "KVVISA_NETWORK_SEARCH";

// Whether a search asks the network (a broadcast) besides the local ports.
enum class ENetworkSearch { Included, LeftOut };

// What each transport answered a search, whatever it appended.
struct SSearchStatuses {
    ViStatus serial = VI_ERROR_RSRC_NFOUND;
    ViStatus usb = VI_ERROR_RSRC_NFOUND;
    ViStatus network = VI_ERROR_RSRC_NFOUND;
};

class CSessionFindList : public CBaseSession {
public:
    // Splits an enumeration entry at its first tab into name and annotation;
    // the annotation keeps the tab. An entry without a tab has an empty one.
    void Append(std::string_view entry);

    // Builds the list by asking each transport to enumerate what it reaches.
    ViStatus FindRsrc(ViConstString expr, CSessionFindList* list, ViPFindList listOut,
                      ViPUInt32 retCnt, ViChar* desc) override;
    // The same search, optionally without the network, telling what each
    // transport answered.
    ViStatus Build(ViConstString expr, ENetworkSearch network, ViPUInt32 retCnt, ViChar* desc,
                   SSearchStatuses* statuses = nullptr);
    ViStatus FindNext(ViChar* desc) override;
    ViStatus Connect(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout) override;
    ViStatus Disconnect() override;
    ViStatus SetAttribute(ViAttr attr, ViAttrState value) override;
    ViStatus GetAttribute(ViAttr attr, void* value) override;

    size_t Count() const { return names_.size(); }
    const std::string& Name(size_t i) const { return names_[i]; }
    const std::string& Annotation(size_t i) const { return annotations_[i]; }

private:
    std::vector<std::string> names_;
    std::vector<std::string> annotations_;
    size_t current_ = 0;
};

}  // namespace kv
