#include "opened_resource.h"

#include <cstdio>

#include "exit_codes.h"
#include "kvvisa/visa.h"
#include "status_name.h"

namespace kvtools {

OpenedResource::OpenedResource(const std::string& name, ViUInt32 openTimeoutMs) {
    status_ = viOpenDefaultRM(&manager_);
    if (status_ < VI_SUCCESS) {
        manager_ = VI_NULL;
        return;
    }
    ViSession opened = VI_NULL;
    status_ = viOpen(manager_, name.c_str(), VI_NULL, openTimeoutMs, &opened);
    if (status_ >= VI_SUCCESS) {
        session_ = opened;
    } else if (opened != VI_NULL) {
        viClose(opened);  // a handle handed out with a failure is not kept
    }
}

OpenedResource::~OpenedResource() {
    if (session_ != VI_NULL) viClose(session_);
    if (manager_ != VI_NULL) viClose(manager_);
}

int ReportOpenFailure(std::string_view tool, std::string_view name, ViStatus status) {
    std::fprintf(stderr, "%.*s: cannot open %.*s: %s\n", static_cast<int>(tool.size()),
                 tool.data(), static_cast<int>(name.size()), name.data(),
                 DescribeStatus(status).c_str());
    if (status == VI_ERROR_LIBRARY_NFOUND) {
        std::fprintf(stderr,
                     "%.*s: the text layer needs libProtocolLib.so and Protocol.xml beside "
                     "libKvVISA.so\n",
                     static_cast<int>(tool.size()), tool.data());
    }
    return kExitOpenFailed;
}

}  // namespace kvtools
