#include "status_name.h"

#include <cstdio>

#include "kvvisa/visa.h"

namespace kvtools {

namespace {

struct NamedStatus {
    ViStatus status;
    const char* name;
};

#define KV_NAMED(code) {code, #code}
constexpr NamedStatus kNames[] = {
    KV_NAMED(VI_SUCCESS),
    KV_NAMED(VI_SUCCESS_EVENT_EN),
    KV_NAMED(VI_SUCCESS_EVENT_DIS),
    KV_NAMED(VI_SUCCESS_QUEUE_EMPTY),
    KV_NAMED(VI_SUCCESS_TERM_CHAR),
    KV_NAMED(VI_SUCCESS_MAX_CNT),
    KV_NAMED(VI_ERROR_SYSTEM_ERROR),
    KV_NAMED(VI_ERROR_INV_OBJECT),
    KV_NAMED(VI_ERROR_RSRC_LOCKED),
    KV_NAMED(VI_ERROR_INV_EXPR),
    KV_NAMED(VI_ERROR_RSRC_NFOUND),
    KV_NAMED(VI_ERROR_INV_RSRC_NAME),
    KV_NAMED(VI_ERROR_INV_ACC_MODE),
    KV_NAMED(VI_ERROR_TMO),
    KV_NAMED(VI_ERROR_CLOSING_FAILED),
    KV_NAMED(VI_ERROR_NSUP_ATTR),
    KV_NAMED(VI_ERROR_NSUP_ATTR_STATE),
    KV_NAMED(VI_ERROR_ATTR_READONLY),
    KV_NAMED(VI_ERROR_RAW_WR_PROT_VIOL),
    KV_NAMED(VI_ERROR_RAW_RD_PROT_VIOL),
    KV_NAMED(VI_ERROR_OUTP_PROT_VIOL),
    KV_NAMED(VI_ERROR_INP_PROT_VIOL),
    KV_NAMED(VI_ERROR_BERR),
    KV_NAMED(VI_ERROR_IO),
    KV_NAMED(VI_ERROR_INV_FMT),
    KV_NAMED(VI_ERROR_NSUP_FMT),
    KV_NAMED(VI_ERROR_ALLOC),
    KV_NAMED(VI_ERROR_RSRC_BUSY),
    KV_NAMED(VI_ERROR_INV_PARAMETER),
    KV_NAMED(VI_ERROR_USER_BUF),
    KV_NAMED(VI_ERROR_NSUP_OPER),
    KV_NAMED(VI_ERROR_NIMPL_OPER),
    KV_NAMED(VI_ERROR_LIBRARY_NFOUND),
    KV_NAMED(VI_ERROR_CONN_LOST),
};
#undef KV_NAMED

}  // namespace

std::string StatusName(ViStatus status) {
    for (const auto& entry : kNames) {
        if (entry.status == status) return entry.name;
    }
    char text[32];
    std::snprintf(text, sizeof text, "status 0x%08X", static_cast<unsigned>(status));
    return text;
}

std::string DescribeStatus(ViStatus status) {
    // The library's texts fit the standard's 256-byte description buffer.
    ViChar text[256] = {};
    std::string described = StatusName(status);
    if (viStatusDesc(VI_NULL, status, text) >= VI_SUCCESS && text[0] != '\0') {
        described += " (";
        described += text;
        described += ")";
    }
    return described;
}

}  // namespace kvtools
