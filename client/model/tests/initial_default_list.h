// A "default.z5p" whose only profile is the controls' initial settings, for
// tests of the window and the controller that expect to start from those.
#pragma once

#include <string>

#include "model/profile_list_file.h"

namespace z5rtest {

inline bool WriteInitialDefaultList(const std::string& applicationDir) {
    return z5r::WriteProfileListFile(applicationDir + "/default.z5p", {z5r::MakeInitialProfile()},
                                     z5r::EProfileListMark::Plain) == z5r::EProfileListWrite::Written;
}

}  // namespace z5rtest
