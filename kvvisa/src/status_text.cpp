#include "status_text.h"

#include "kvvisa/visa.h"

namespace kv {

namespace {
struct StatusEntry {
    ViStatus status;
    const char* text;
};

constexpr StatusEntry kStatusTexts[] = {
    {VI_SUCCESS, "Success"},
    {VI_ERROR_SYSTEM_ERROR, "System error"},
    {VI_ERROR_INV_OBJECT, "Invalid object"},
    {VI_ERROR_RSRC_NFOUND, "Resource not found"},
    {VI_ERROR_INV_RSRC_NAME, "Invalid resource name"},
    {VI_ERROR_TMO, "Timeout"},
    {VI_ERROR_CLOSING_FAILED, "Closing failed"},
    {VI_ERROR_NSUP_ATTR, "Not supported attribute"},
    {VI_ERROR_IO, "Error IO"},
    {VI_ERROR_INV_FMT, "Invalid format"},
    {VI_ERROR_RSRC_BUSY, "Resource busy"},
    {VI_ERROR_NIMPL_OPER, "Not implemented operation"},
    {VI_ERROR_LIBRARY_NFOUND, "Library not found"},
    {VI_ERROR_CONN_LOST, "Connection lost"},
};
}  // namespace

const char* StatusText(ViStatus status) {
    for (const auto& entry : kStatusTexts) {
        if (entry.status == status) return entry.text;
    }
    return "";
}

}  // namespace kv
