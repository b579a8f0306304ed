// The XML document of a profile-list file: the root "profilelist" with one
// "profile" per record, its five attribute groups and the packet and sweep
// list as columns of "element" children.
#pragma once

#include <vector>

#include <pugixml.hpp>

#include "core/profile.h"

namespace z5r {

// Whether a list is written from a locked or superuser session; such a list
// carries securemode="true".
enum class EProfileListMark { Plain, Secure };

// Whether the reader demands securemode="true" (a secure instrument is
// connected and the file is not the default file).
enum class ESecureListTest { Skip, Require };

enum class EProfileListRead {
    Read,
    Unreadable,     // missing, foreign or damaged file
    BadFormat,      // no "profilelist" root, or more than the reader holds
    NotSecureList,  // the secure-mode test failed
};

inline constexpr const char* kProfileListRoot = "profilelist";
inline constexpr std::size_t kMaxProfiles = 10000;

// Builds the document of `profiles` into `doc`, which should be empty.
void BuildProfileListDocument(pugi::xml_document& doc, const std::vector<SProfile>& profiles,
                              EProfileListMark mark);

// Reads the profiles of `doc`; `profiles` is replaced only on Read. An absent
// group or attribute takes the default-constructed record's value; where a
// later column holds fewer values than the first, the missing entries take
// the defaults of a new pulse or segment. A list beyond kMaxProfiles or a
// column beyond kMaxColumnValues is refused as BadFormat rather than cut.
EProfileListRead ReadProfileListDocument(const pugi::xml_document& doc, ESecureListTest test,
                                         std::vector<SProfile>& profiles);

}  // namespace z5r
