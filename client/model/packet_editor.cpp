#include "model/packet_editor.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "model/packet_file.h"
#include "model/packet_pulse_edits.h"
#include "model/packet_texts.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

constexpr const char* kErrorCaption = Z5R_TEXT("Ошибка");
constexpr const char* kWarningCaption = Z5R_TEXT("Внимание");
constexpr const char* kPacketFileFilter = "PPL (*.ppl)";
constexpr const char* kPacketFileExtension = "ppl";

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr EPulseEdit kPulseEdits[] = {EPulseEdit::Duration, EPulseEdit::Period, EPulseEdit::DutyFactor};

template <typename Values>
auto& ValueOf(Values& values, EPulseEdit edit) {
    switch (edit) {
        case EPulseEdit::Period: return values.period;
        case EPulseEdit::DutyFactor: return values.q;
        case EPulseEdit::Duration: break;
    }
    return values.tau;
}

// An edit needs writing when it shows another value (two blanks are alike).
bool Differs(double shown, double wanted) {
    return !(shown == wanted || (std::isnan(shown) && std::isnan(wanted)));
}

SPulseValues ValuesOf(const SPulse& pulse) {
    return SPulseValues{pulse.tau, pulse.period, pulse.tau == 0.0 ? 0.0 : pulse.period / pulse.tau};
}

}  // namespace

CPacketEditor::CPacketEditor(IPacketEditorView& view, IPrompt& prompt) : view_(view), prompt_(prompt) {}

void CPacketEditor::Begin(const std::vector<SPulse>& packet, double packetPeriod, double minPulse) {
    accepted_ = false;
    modified_ = false;
    pulseInvalid_ = false;
    minPulse_ = minPulse;
    packet_ = packet;
    view_.ShowAllRows(packet_);
    // Setting the period is no change by the operator: the copy stays unmodified.
    packetPeriod_ = packetPeriod;
    view_.ShowPacketPeriod(packetPeriod_);
    // The edits may still show what the dialog was built with.
    values_ = kDefaultPulseValues;
    for (EPulseEdit edit : kPulseEdits) view_.ShowPulseEdit(edit, ValueOf(values_, edit));
    Select({});
    RefreshSummary();
}

// ---- selection and edits ----------------------------------------------------

void CPacketEditor::SelectionChanged(std::vector<std::size_t> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [this](std::size_t row) { return row >= packet_.size(); });
    selection_ = std::move(rows);
    FollowSelection();
}

void CPacketEditor::Select(std::vector<std::size_t> rows) {
    selection_ = std::move(rows);
    view_.ShowSelection(selection_);
    FollowSelection();
}

void CPacketEditor::FollowSelection() {
    if (selection_.empty()) {
        SetPulseValues(kDefaultPulseValues);
    } else if (SingleSelection()) {
        SetPulseValues(ValuesOf(packet_[selection_.front()]));
    } else {
        SetPulseValues(SPulseValues{kNaN, kNaN, kNaN});
    }
    RefreshActionStates();
}

void CPacketEditor::RefreshActionStates() {
    const bool one = SingleSelection();
    const bool any = !selection_.empty();
    const bool rows = !packet_.empty();
    actions_ = SPacketActionStates{one, one, one, any, rows, rows, rows, rows};
    view_.ShowActionStates(actions_);
}

void CPacketEditor::SetPulseValues(const SPulseValues& values) {
    for (EPulseEdit edit : kPulseEdits) {
        double& shown = ValueOf(values_, edit);
        const double wanted = ValueOf(values, edit);
        if (!Differs(shown, wanted)) continue;
        shown = wanted;
        view_.ShowPulseEdit(edit, wanted);
    }
}

void CPacketEditor::PulseEditChanged(EPulseEdit edit, double value) {
    ValueOf(values_, edit) = value;
    const SPulseTyping typing = PacketPulseTyped(edit, values_);
    if (typing.invalid) pulseInvalid_ = *typing.invalid;
    SetPulseValues(typing.values);
}

void CPacketEditor::PulseEditConfirmed(EPulseEdit edit, double value) {
    ValueOf(values_, edit) = value;
    SetPulseValues(PacketPulseConfirmed(edit, values_, minPulse_));
    pulseInvalid_ = false;
}

void CPacketEditor::PacketPeriodChanged(double period) {
    packetPeriod_ = period;
    modified_ = true;
    RefreshTooShort();
}

// ---- summary ------------------------------------------------------------------

void CPacketEditor::RefreshSummary() {
    summary_.totalDuration = TotalPacketDuration(packet_);
    summary_.durationText = PacketDurationText(summary_.totalDuration);
    RefreshTooShort();
}

void CPacketEditor::RefreshTooShort() {
    summary_.tooShort = PacketPeriodTooShort(packetPeriod_, summary_.totalDuration);
    summary_.warningText = PacketPeriodWarning(summary_.tooShort);
    view_.ShowSummary(summary_);
}

// ---- list actions --------------------------------------------------------------

bool CPacketEditor::CheckPulseValues() {
    // Values that are no numbers (several rows selected) or a duration of 0
    // make no pulse either, though typing did not mark them.
    if (!pulseInvalid_ && IsPulseMakeable(values_)) return true;
    ShowError(Z5R_TEXT("Параметры импульса некорректны"));
    return false;
}

SPulse CPacketEditor::PulseFromEdits(bool used) const {
    return SPulse{values_.tau, values_.period, values_.q, used};
}

void CPacketEditor::Add() {
    if (!CheckPulseValues()) return;
    packet_.push_back(PulseFromEdits(true));
    view_.ShowRow(packet_.size() - 1, packet_.back());
    modified_ = true;
    Select({packet_.size() - 1});
    RefreshSummary();
}

void CPacketEditor::Apply() {
    if (!SingleSelection()) return;
    if (!CheckPulseValues()) return;
    const std::size_t row = selection_.front();
    packet_[row] = PulseFromEdits(packet_[row].used);
    view_.ShowRow(row, packet_[row]);
    modified_ = true;
    RefreshSummary();
}

void CPacketEditor::Delete() {
    if (selection_.empty()) return;
    const std::size_t highest = selection_.back();
    for (auto row = selection_.rbegin(); row != selection_.rend(); ++row)
        packet_.erase(packet_.begin() + static_cast<std::ptrdiff_t>(*row));
    view_.ShowAllRows(packet_);
    std::vector<std::size_t> next;
    if (highest < packet_.size()) {
        next.push_back(highest);
    } else if (!packet_.empty()) {
        next.push_back(packet_.size() - 1);
    }
    Select(std::move(next));
    modified_ = true;
    RefreshSummary();
}

void CPacketEditor::Swap(std::size_t upper) {
    std::swap(packet_[upper], packet_[upper + 1]);
    for (std::size_t row = upper; row < packet_.size(); ++row) view_.ShowRow(row, packet_[row]);
    modified_ = true;
}

void CPacketEditor::MoveUp() {
    if (!SingleSelection() || selection_.front() == 0) return;
    const std::size_t row = selection_.front();
    Swap(row - 1);
    Select({row - 1});
}

void CPacketEditor::MoveDown() {
    if (!SingleSelection() || selection_.front() + 1 >= packet_.size()) return;
    const std::size_t row = selection_.front();
    Swap(row);
    Select({row + 1});
}

void CPacketEditor::RowTicked(std::size_t row, bool ticked) {
    if (row >= packet_.size()) return;
    packet_[row].used = ticked;
    RefreshSummary();
}

void CPacketEditor::SetAllTicks(bool ticked) {
    for (std::size_t row = 0; row < packet_.size(); ++row) {
        if (packet_[row].used == ticked) continue;
        packet_[row].used = ticked;
        view_.ShowRow(row, packet_[row]);
    }
    modified_ = true;
    RefreshSummary();
}

void CPacketEditor::TickAll() { SetAllTicks(true); }

void CPacketEditor::UntickAll() { SetAllTicks(false); }

// ---- files and the new list -------------------------------------------------------

bool CPacketEditor::MayDiscard() {
    if (!modified_) return true;
    const SPromptMessage question{Tr(kWarningCaption), Tr("Все несохраненные данные будут стерты!\nПродолжить?"),
                                  EPromptIcon::Warning, EPromptButtons::OkCancel};
    return prompt_.ShowMessage(question) == EPromptResult::Ok;
}

void CPacketEditor::NewList() {
    if (!MayDiscard()) return;
    packet_.clear();
    view_.ShowAllRows(packet_);
    modified_ = false;
    Select({});
    RefreshSummary();
}

void CPacketEditor::Open(EPacketOpen how) {
    const bool replace = how == EPacketOpen::Replace;
    if (replace && !MayDiscard()) return;
    const std::optional<std::string> path =
        prompt_.AskOpenFileName(SFileDialog{Tr("Открыть файл списка"), kPacketFileFilter, kPacketFileExtension});
    if (!path) return;
    std::vector<SPulse> read;
    if (ReadPacketFile(*path, read) != pfsOk) {
        ShowError(Z5R_TEXT("Не удалось открыть файл списка."));
        return;
    }
    if (replace) {
        packet_ = std::move(read);
        view_.ShowAllRows(packet_);
        Select({});
    } else {
        for (SPulse& pulse : read) {
            packet_.push_back(pulse);
            view_.ShowRow(packet_.size() - 1, packet_.back());
        }
        // The new rows can enable the actions that need rows; the selection
        // and the edits stay as they are.
        RefreshActionStates();
    }
    modified_ = !replace;
    RefreshSummary();
}

void CPacketEditor::Save() {
    const std::optional<std::string> path =
        prompt_.AskSaveFileName(SFileDialog{Tr("Сохранить файл списка"), kPacketFileFilter, kPacketFileExtension});
    if (!path) return;
    if (WritePacketFile(*path, packet_) != pfsOk) {
        // The changes are not safe anywhere yet, so they stay marked.
        ShowError(Z5R_TEXT("Не удалось сохранить файл списка."));
        return;
    }
    modified_ = false;
}

// ---- leaving -------------------------------------------------------------------------

bool CPacketEditor::Ok() {
    accepted_ = !summary_.tooShort;
    if (summary_.tooShort) {
        ShowError(kPacketPeriodTooShortText);
        return false;
    }
    modified_ = false;
    return true;
}

bool CPacketEditor::CloseQuery() {
    if (!modified_) return true;
    const SPromptMessage question{Tr(kWarningCaption), Tr("Список был изменен. Применить изменения?"),
                                  EPromptIcon::Warning, EPromptButtons::YesNoCancel};
    switch (prompt_.ShowMessage(question)) {
        case EPromptResult::Yes:
            if (summary_.tooShort) {
                ShowError(kPacketPeriodTooShortText);
                return false;
            }
            accepted_ = true;
            return true;
        case EPromptResult::No: return true;
        default: return false;
    }
}

void CPacketEditor::ShowError(const char* text) {
    prompt_.ShowMessage(SPromptMessage{Tr(kErrorCaption), Tr(text), EPromptIcon::Error, EPromptButtons::Ok});
}

}  // namespace z5r
