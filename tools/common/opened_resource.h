// The default resource manager and one session opened on it, closed together
// when the tool ends.
#pragma once

#include <string>
#include <string_view>

#include "kvvisa/visatype.h"

namespace kvtools {

class OpenedResource {
public:
    explicit OpenedResource(const std::string& name, ViUInt32 openTimeoutMs = 0);
    ~OpenedResource();  // the session, then the resource manager
    OpenedResource(const OpenedResource&) = delete;
    OpenedResource& operator=(const OpenedResource&) = delete;

    bool IsOpen() const { return session_ != VI_NULL; }
    // Why opening failed, or the opening's own completion code.
    ViStatus OpenStatus() const { return status_; }
    ViSession Session() const { return session_; }

private:
    ViSession manager_ = VI_NULL;
    ViSession session_ = VI_NULL;
    ViStatus status_ = 0;
};

// "tool: cannot open NAME: STATUS (text)" on stderr, with a hint where one
// helps; the exit code for a resource that cannot be opened.
int ReportOpenFailure(std::string_view tool, std::string_view name, ViStatus status);

}  // namespace kvtools
