#include "model/list_transfer.h"

#include <cstddef>
#include <optional>
#include <string>

#include "core/profile_enums.h"
#include "core/z5r_device.h"
#include "model/list_corrections.h"
#include "model/parameter_summary.h"
#include "model/power_ceiling.h"
#include "model/sweep_points.h"
#include "z5r/i18n.h"

namespace z5r {

bool CDeviceListSession::IsConnected() const { return device_.IsConnected(); }

bool CDeviceListSession::IsRfOn() const { return device_.IsRfOn(); }

std::int32_t CDeviceListSession::SetLists(std::vector<double>& frequencies,
                                          std::vector<double>& levels) {
    return device_.SetLists(frequencies, levels);
}

namespace {

void ShowMessage(IPrompt& prompt, const char* caption, const std::string& text, EPromptIcon icon) {
    prompt.ShowMessage(SPromptMessage{Tr(caption), text, icon, EPromptButtons::Ok, pfSystemModal});
}

bool ManualNextPoint(const SProfile& profile) {
    return profile.controlparams.trigger == tmManual &&
           profile.controlparams.runmode == rmNextPoint;
}

bool ManualSweepStart(const SProfile& profile) {
    return profile.controlparams.trigger == tmManual &&
           profile.controlparams.runmode == rmSweepStart;
}

void ApplyWrites(ITransferWindow& window, const std::vector<SEditWrite>& writes) {
    for (const SEditWrite& write : writes) window.SetEditValue(write);
}

}  // namespace

bool TransferApplies(EListSource source, const SProfile& profile, bool listRefreshing) {
    if (source == EListSource::ListPanel)
        return profile.controlparams.mode == omListSweep && !listRefreshing;
    return IsClientBuiltSweep(profile);
}

STransferOutcome TransferList(const STransferRequest& request, const SProfile& current,
                              const std::vector<SListPoint>& segments, SPointLists& lists,
                              IListSession& session, ITransferWindow& window, IPrompt& prompt) {
    STransferOutcome outcome;
    if (!session.IsConnected() || !TransferApplies(request.source, current, request.listRefreshing))
        return outcome;
    outcome.ran = true;
    const bool fromPanel = request.source == EListSource::ListPanel;
    // The window's edit writes may store into the record it passed; every
    // decision here is taken on the record as it was at the call.
    const SProfile profile = current;

    if (fromPanel) {
        ExpandSegments(lists, segments, PowerCeiling(profile.powparams));
    } else {
        BuildSweepPoints(lists, profile);
    }
    window.SetStepCount(lists.freqs.size());
    const std::size_t builtFreqs = lists.freqs.size();
    const std::size_t builtLevels = lists.levels.size();
    // Only the panel's own list is compared point by point with what the
    // instrument kept; a sweep's thousands of points are not copied for it.
    std::optional<SPointLists> built;
    if (fromPanel) built = lists;

    if ((lists.freqs.empty() || lists.freqs.size() != lists.levels.size()) && session.IsRfOn()) {
        window.SwitchRfOff();
        ShowMessage(prompt, Z5R_TEXT("Ошибка"), Tr("Список пуст"), EPromptIcon::Error);
        return outcome;
    }

    if (lists.freqs.size() > kListWarningPoints) {
        ShowMessage(prompt, Z5R_TEXT("Ошибка"),
                    Tr("Прибор не поддерживает списки с количеством точек больше ") +
                        std::to_string(kListWarningPoints),
                    EPromptIcon::Error);
    }

    std::vector<SEditWrite> corrections;
    if (ManualNextPoint(profile)) {
        // Manual stepping sends the points one at a time instead.
        if (!request.settingsLocked) window.RestartHandStep();
    } else {
        outcome.sent = true;
        outcome.setListsResult = session.SetLists(lists.freqs, lists.levels);
        if (lists.freqs.size() != builtFreqs || lists.levels.size() != builtLevels) {
            // The first letter of "Cписок" is a Latin C: the catalogue key is kept as it is.
            ShowMessage(prompt, Z5R_TEXT("Ошибка"),
                        Tr("Сплишком много точек. Cписок загружен не полностью."),
                        EPromptIcon::Error);
        }
        if (fromPanel) {
            outcome.corrected = ListWasCorrected(*built, lists);
            if (outcome.corrected) {
                ShowMessage(prompt, Z5R_TEXT("Внимание"), Tr("Cписок был скорректирован прибором."),
                            EPromptIcon::Warning);
                window.ClearProfileMark();
            }
            if (ManualSweepStart(profile)) window.RestartHandStep();
        } else {
            corrections = SweepCorrectionWrites(profile, lists);
            ApplyWrites(window, corrections);
            window.ClearChangedMarks();
        }
    }

    if (!fromPanel) {
        // The end points are compared with the record as the corrections
        // left it (SetEditValue stores them unless the window is refreshing).
        SProfile corrected = profile;
        if (!request.uiRefresh) StoreWrites(corrected, corrections);
        ApplyWrites(window, SweepEndPointWrites(corrected, lists));
    }

    for (const ESummaryLine line : {slPoints, slFrequencyStep, slPowerStep}) window.RefreshSummary(line);
    return outcome;
}

}  // namespace z5r
