#include "model/profile_list_document.h"

#include <array>
#include <optional>
#include <string>
#include <variant>

#include "korvel/common/xml_nodes.h"
#include "model/profile_columns.h"
#include "model/whole_number.h"

namespace z5r {

namespace {

constexpr const char* kProfile = "profile";
constexpr const char* kElement = "element";
constexpr const char* kComment = "comment";
constexpr const char* kSecureMode = "securemode";
constexpr const char* kOlderList = "lists";
constexpr const char* kOlderSegment = "list";
constexpr std::size_t kPacketColumns = 4;
constexpr std::size_t kListColumns = 7;

// An integer field that older files hold as a real: read as a real and
// truncated toward zero.
template <typename G>
struct SIntAsReal {
    std::int32_t G::*member;
};

template <typename G>
using FieldMember = std::variant<double G::*, std::int32_t G::*, bool G::*, SIntAsReal<G>>;

template <typename G>
struct SField {
    const char* name;
    FieldMember<G> member;
};

template <typename G, std::size_t N>
struct SGroup {
    const char* name;
    G SProfile::*member;
    std::array<SField<G>, N> fields;
};

using C = SControlParams;
const SGroup<C, 7> kControlGroup{"controlparams", &SProfile::controlparams,
                                  {{{"mode", &C::mode}, {"trigger", &C::trigger}, {"runmode", &C::runmode},
                                    {"dwell", &C::dwell}, {"dwellinc", &C::dwellinc},
                                    {"dwellinctype", &C::dwellinctype}, {"dwellincpow", &C::dwellincpow}}}};

using F = SFreqParams;
const SGroup<F, 19> kFreqGroup{
    "freqparams", &SProfile::freqparams,
    {{{"start", &F::start}, {"startinc", &F::startinc}, {"startinctype", &F::startinctype},
      {"startincpow", &F::startincpow}, {"stop", &F::stop}, {"stopinc", &F::stopinc},
      {"stopinctype", &F::stopinctype}, {"stopincpow", &F::stopincpow}, {"fix", &F::fix},
      {"centerinc", &F::centerinc}, {"centerinctype", &F::centerinctype}, {"centerincpow", &F::centerincpow},
      {"spaninc", &F::spaninc}, {"spaninctype", &F::spaninctype}, {"spanincpow", &F::spanincpow},
      {"points", &F::points}, {"pointsinc", &F::pointsinc}, {"pointsinctype", &F::pointsinctype},
      {"mode", &F::mode}}}};

using P = SPowParams;
const SGroup<P, 19> kPowGroup{
    "powparams", &SProfile::powparams,
    {{{"start", &P::start}, {"startinc", &P::startinc}, {"startinctype", &P::startinctype},
      {"stop", &P::stop}, {"stopinc", &P::stopinc}, {"stopinctype", &P::stopinctype}, {"fix", &P::fix},
      {"centerinc", &P::centerinc}, {"centerinctype", &P::centerinctype}, {"spaninc", &P::spaninc},
      {"spaninctype", &P::spaninctype}, {"points", &P::points}, {"pointsinc", &P::pointsinc},
      {"pointsinctype", &P::pointsinctype}, {"allowlimit", &P::allowlimit}, {"limit", &P::limit},
      {"limitinc", &P::limitinc}, {"limitinctype", &P::limitinctype},
      {"strategy", SIntAsReal<P>{&P::strategy}}}}};

using S = SSyncParams;
const SGroup<S, 13> kSyncGroup{
    "syncparams", &SProfile::syncparams,
    {{{"syncmode", &S::syncmode}, {"syncin", &S::syncin}, {"syncout", &S::syncout}, {"synctime", &S::synctime},
      {"synctimeinc", &S::synctimeinc}, {"synctimeinctype", &S::synctimeinctype},
      {"synctimeincpow", &S::synctimeincpow}, {"epc", &S::epc}, {"erg", &S::erg}, {"rgfreq", &S::rgfreq},
      {"phase", &S::phase}, {"phaseinc", &S::phaseinc}, {"phaseinctype", &S::phaseinctype}}}};

using M = SPulseModParams;
const SGroup<M, 13> kPulseGroup{
    "pulsemodparams", &SProfile::pulsemodparams,
    {{{"pulsemode", &M::pulsemode}, {"tau", &M::tau}, {"tauinc", &M::tauinc}, {"tauinctype", &M::tauinctype},
      {"periodsingle", &M::periodsingle}, {"periodsingleinc", &M::periodsingleinc},
      {"periodsingleinctype", &M::periodsingleinctype}, {"q", &M::q}, {"qinc", &M::qinc},
      {"qinctype", &M::qinctype}, {"periodpacket", &M::periodpacket}, {"periodpacketinc", &M::periodpacketinc},
      {"periodpacketinctype", &M::periodpacketinctype}}}};

constexpr const char* kListGroup = "listelements";

template <typename... T>
struct SOverloads : T... {
    using T::operator()...;
};
template <typename... T>
SOverloads(T...) -> SOverloads<T...>;

template <typename G, std::size_t N>
void WriteFields(pugi::xml_node element, const SGroup<G, N>& group, const SProfile& profile) {
    const G& values = profile.*group.member;
    for (const auto& field : group.fields) {
        std::visit(SOverloads{[&](double G::*m) { VxCore::AddAttribute(element, field.name, values.*m); },
                              [&](std::int32_t G::*m) { VxCore::AddAttribute(element, field.name, values.*m); },
                              [&](bool G::*m) { VxCore::AddAttribute(element, field.name, values.*m); },
                              [&](SIntAsReal<G> m) { VxCore::AddAttribute(element, field.name, values.*m.member); }},
                   field.member);
    }
}

template <typename G, std::size_t N>
void ReadFields(pugi::xml_node profileNode, const SGroup<G, N>& group, SProfile& profile) {
    const pugi::xml_node element = profileNode.child(group.name);
    if (!element) return;  // the group keeps the record's defaults
    const G defaults{};
    G& values = profile.*group.member;
    for (const auto& field : group.fields) {
        const std::string path = std::string("@") + field.name;
        std::visit(SOverloads{[&](double G::*m) { values.*m = VxCore::GetNodeDoubleValue(element, path.c_str(), defaults.*m); },
                              [&](std::int32_t G::*m) { values.*m = VxCore::GetNodeIntValue(element, path.c_str(), defaults.*m); },
                              [&](bool G::*m) { values.*m = VxCore::GetNodeBoolValue(element, path.c_str(), defaults.*m); },
                              [&](SIntAsReal<G> m) {
                                  values.*m.member = TruncateToInt32(VxCore::GetNodeDoubleValue(
                                      element, path.c_str(), defaults.*m.member));
                              }},
                   field.member);
    }
}

template <typename Fill>
void AppendColumns(pugi::xml_node group, std::size_t count, Fill fill) {
    std::vector<std::string> columns(count);
    fill(columns);
    for (const auto& column : columns) group.append_child(kElement).text().set(column.c_str());
}

void WritePacket(pugi::xml_node group, const std::vector<SPulse>& packet) {
    AppendColumns(group, kPacketColumns, [&](std::vector<std::string>& columns) {
        for (const SPulse& pulse : packet) {
            AppendColumnValue(columns[0], pulse.tau);
            AppendColumnValue(columns[1], pulse.period);
            AppendColumnValue(columns[2], pulse.q);
            AppendColumnValue(columns[3], pulse.used ? 1.0 : 0.0);
        }
    });
}

void WriteList(pugi::xml_node group, const std::vector<SListPoint>& segments) {
    AppendColumns(group, kListColumns, [&](std::vector<std::string>& columns) {
        for (const SListPoint& segment : segments) {
            AppendColumnValue(columns[0], segment.startfreq);
            AppendColumnValue(columns[1], segment.stopfreq);
            AppendColumnValue(columns[2], segment.startpow);
            AppendColumnValue(columns[3], segment.stoppow);
            AppendColumnValue(columns[4], segment.points);
            AppendColumnValue(columns[5], segment.linfreq);
            AppendColumnValue(columns[6], segment.used);
        }
    });
}

void WriteProfile(pugi::xml_node node, const SProfile& profile) {
    VxCore::AddAttribute(node, kComment, profile.comment.c_str());
    WriteFields(VxCore::GetElementOrCreate(node, kControlGroup.name), kControlGroup, profile);
    WriteFields(VxCore::GetElementOrCreate(node, kFreqGroup.name), kFreqGroup, profile);
    WriteFields(VxCore::GetElementOrCreate(node, kPowGroup.name), kPowGroup, profile);
    WriteFields(VxCore::GetElementOrCreate(node, kSyncGroup.name), kSyncGroup, profile);
    const pugi::xml_node pulses = node.append_child(kPulseGroup.name);
    WriteFields(pulses, kPulseGroup, profile);
    WritePacket(pulses, profile.packet);
    WriteList(node.append_child(kListGroup), profile.listelements);
}

// The columns of a group with exactly `count` "element" children; none when
// it has another number, or a column holds too many values (`tooLong` set).
std::optional<std::vector<std::vector<double>>> ReadColumns(pugi::xml_node group, std::size_t count,
                                                            bool& tooLong) {
    std::vector<std::vector<double>> columns;
    for (pugi::xml_node element = group.child(kElement); element; element = element.next_sibling(kElement)) {
        if (columns.size() == count) return std::nullopt;
        auto column = ParseColumn(element.text().get());
        if (!column) {
            tooLong = true;
            return std::nullopt;
        }
        columns.push_back(std::move(*column));
    }
    if (columns.size() != count) return std::nullopt;
    return columns;
}

// The i-th value of a column, or `fallback` where the column is shorter than
// the first.
double ValueAt(const std::vector<double>& column, std::size_t i, double fallback) {
    return i < column.size() ? column[i] : fallback;
}

void ReadPacket(pugi::xml_node group, std::vector<SPulse>& packet, bool& tooLong) {
    const auto columns = ReadColumns(group, kPacketColumns, tooLong);
    if (!columns) return;
    const SPulse defaults{};
    for (std::size_t i = 0; i < (*columns)[0].size(); ++i) {
        SPulse pulse;
        pulse.tau = (*columns)[0][i];
        pulse.period = ValueAt((*columns)[1], i, defaults.period);
        pulse.q = ValueAt((*columns)[2], i, defaults.q);
        pulse.used = ValueAt((*columns)[3], i, defaults.used ? 1.0 : 0.0) != 0.0;
        packet.push_back(pulse);
    }
}

void ReadOlderList(pugi::xml_node lists, std::vector<SListPoint>& segments) {
    for (pugi::xml_node node = lists.child(kOlderSegment); node; node = node.next_sibling(kOlderSegment)) {
        SListPoint segment;
        segment.points = VxCore::GetNodeIntValue(node, "@points", 0);
        segment.startfreq = VxCore::GetNodeDoubleValue(node, "@startfreq", 0.0);
        segment.stopfreq = VxCore::GetNodeDoubleValue(node, "@stopfreq", 0.0);
        segment.startpow = VxCore::GetNodeDoubleValue(node, "@startpow", 0.0);
        segment.stoppow = VxCore::GetNodeDoubleValue(node, "@stoppow", 0.0);
        segment.linfreq = VxCore::GetNodeIntValue(node, "@linfreq", 0);
        segment.used = VxCore::GetNodeIntValue(node, "@used", 0);
        segments.push_back(segment);
    }
}

void ReadList(pugi::xml_node group, std::vector<SListPoint>& segments, bool& tooLong) {
    const auto columns = ReadColumns(group, kListColumns, tooLong);
    if (!columns) return;
    const SListPoint defaults{};
    const auto& c = *columns;
    for (std::size_t i = 0; i < c[0].size(); ++i) {
        SListPoint segment;
        segment.startfreq = c[0][i];
        segment.stopfreq = ValueAt(c[1], i, defaults.stopfreq);
        segment.startpow = ValueAt(c[2], i, defaults.startpow);
        segment.stoppow = ValueAt(c[3], i, defaults.stoppow);
        segment.points = TruncateToInt32(ValueAt(c[4], i, defaults.points));
        segment.linfreq = TruncateToInt32(ValueAt(c[5], i, defaults.linfreq));
        segment.used = TruncateToInt32(ValueAt(c[6], i, defaults.used));
        segments.push_back(segment);
    }
}

// None when a column holds more values than the reader keeps.
std::optional<SProfile> ReadProfile(pugi::xml_node node) {
    SProfile profile;
    profile.comment = VxCore::GetNodeStringValue(node, "@comment", "");
    ReadFields(node, kControlGroup, profile);
    ReadFields(node, kFreqGroup, profile);
    ReadFields(node, kPowGroup, profile);
    ReadFields(node, kSyncGroup, profile);
    ReadFields(node, kPulseGroup, profile);
    bool tooLong = false;
    if (const auto pulses = node.child(kPulseGroup.name)) ReadPacket(pulses, profile.packet, tooLong);
    if (const auto lists = node.child(kOlderList)) ReadOlderList(lists, profile.listelements);
    if (const auto group = node.child(kListGroup)) ReadList(group, profile.listelements, tooLong);
    if (tooLong) return std::nullopt;
    return profile;
}

}  // namespace

void BuildProfileListDocument(pugi::xml_document& doc, const std::vector<SProfile>& profiles,
                              EProfileListMark mark) {
    pugi::xml_node root = doc.append_child(kProfileListRoot);
    if (mark == EProfileListMark::Secure) VxCore::AddAttribute(root, kSecureMode, true);
    for (const SProfile& profile : profiles) WriteProfile(root.append_child(kProfile), profile);
}

EProfileListRead ReadProfileListDocument(const pugi::xml_document& doc, ESecureListTest test,
                                         std::vector<SProfile>& profiles) {
    const pugi::xml_node root = doc.child(kProfileListRoot);
    if (!root) return EProfileListRead::BadFormat;
    if (test == ESecureListTest::Require && !VxCore::GetNodeBoolValue(root, "@securemode", false)) {
        return EProfileListRead::NotSecureList;
    }
    std::vector<SProfile> read;
    for (pugi::xml_node node = root.child(kProfile); node; node = node.next_sibling(kProfile)) {
        if (read.size() == kMaxProfiles) return EProfileListRead::BadFormat;
        auto profile = ReadProfile(node);
        if (!profile) return EProfileListRead::BadFormat;
        read.push_back(std::move(*profile));
    }
    profiles = std::move(read);
    return EProfileListRead::Read;
}

}  // namespace z5r
