// Sending the point lists of the list sweep, the combined sweep and the
// logarithmic frequency sweep to the instrument (TransferList): build the
// lists, warn about lists the instrument cannot take, send them, and take
// back what the instrument accepted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/list_point.h"
#include "core/profile.h"
#include "model/edit_table.h"
#include "model/segment_expansion.h"
#include "ui/prompt.h"

namespace z5r {

class CDevice;

// Above this length the operator is warned; the list is still sent.
inline constexpr std::size_t kListWarningPoints = 5001;

// The driver-session operations the transfer uses.
class IListSession {
public:
    virtual ~IListSession() = default;
    virtual bool IsConnected() const = 0;
    virtual bool IsRfOn() const = 0;
    // On success both lists hold what the instrument kept; empty lists are
    // refused with -1 and no message.
    virtual std::int32_t SetLists(std::vector<double>& frequencies,
                                  std::vector<double>& levels) = 0;
};

// The driver session of the main window as the transfer's session.
class CDeviceListSession final : public IListSession {
public:
    explicit CDeviceListSession(CDevice& device) : device_(device) {}
    bool IsConnected() const override;
    bool IsRfOn() const override;
    std::int32_t SetLists(std::vector<double>& frequencies, std::vector<double>& levels) override;

private:
    CDevice& device_;
};

// What the transfer asks of the main window, in the order it happens.
class ITransferWindow {
public:
    virtual ~ITransferWindow() = default;
    // Switch the RF output off exactly as EnableRFAction does.
    virtual void SwitchRfOff() = 0;
    // The maximum of the sweep progress bar: the number of points built.
    virtual void SetStepCount(std::size_t points) = 0;
    // The hand-step position and the progress back to 0, then one
    // HandModeStepAction that counts as started (it sets the first point
    // with nextPointMode, and triggers one sweep without it).
    virtual void RestartHandStep() = 0;
    virtual void ClearProfileMark() = 0;
    // SetEditValue(write.edit, write.quiet, force false, no source, write.value).
    virtual void SetEditValue(const SEditWrite& write) = 0;
    virtual void ClearChangedMarks() = 0;
    virtual void RefreshSummary(int line) = 0;
};

enum class EListSource {
    ListPanel,        // the ticked segments of the list panel
    SweepParameters,  // the combined sweep or the logarithmic frequency sweep
};

struct STransferRequest {
    EListSource source = EListSource::ListPanel;
    bool listRefreshing = false;  // list view rows being rebuilt
    bool settingsLocked = false;
    bool uiRefresh = false;  // SetEditValue does not store into the record
};

struct STransferOutcome {
    bool ran = false;   // the preconditions held and the lists were built
    bool sent = false;  // SetLists was called
    std::int32_t setListsResult = -1;
    bool corrected = false;  // list panel: the instrument changed points
};

// Whether a transfer from `source` does anything in the record's mode (the
// session must also be open).
bool TransferApplies(EListSource source, const SProfile& profile, bool listRefreshing);

// The transfer. `current` is the current record (read at the call; the edit
// writes reach it through the window), `segments` the list panel's,
// `lists` the window's listFreqs/listPows, rebuilt by every call that
// passes the preconditions. Messages go through `prompt`.
STransferOutcome TransferList(const STransferRequest& request, const SProfile& current,
                              const std::vector<SListPoint>& segments, SPointLists& lists,
                              IListSession& session, ITransferWindow& window, IPrompt& prompt);

}  // namespace z5r
