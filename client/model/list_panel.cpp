#include "model/list_panel.h"

#include <algorithm>
#include <utility>

#include "model/number_text.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

constexpr int kFrequencyDecimals = 9;  // "0.#########" in MHz
constexpr int kLevelDecimals = 2;      // "0.##" in dBm
constexpr double kHzPerMHz = 1e6;
constexpr int kAppendRow = -1;

std::string Number(double value, int decimals, char decimalPoint) {
    std::string text = FormatDecimal(value, decimals);
    std::replace(text.begin(), text.end(), '.', decimalPoint);
    return text;
}

// One value, or "start … stop", with its unit.
std::string Range(bool single, double start, double stop, int decimals, char decimalPoint,
                  const char* unit) {
    std::string text = Number(start, decimals, decimalPoint);
    if (!single) text += " … " + Number(stop, decimals, decimalPoint);
    return text + Tr(unit);
}

// Restores the flag it raised when it goes.
class CRefreshing {
public:
    explicit CRefreshing(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~CRefreshing() { flag_ = was_; }
    CRefreshing(const CRefreshing&) = delete;
    CRefreshing& operator=(const CRefreshing&) = delete;

private:
    bool& flag_;
    bool was_;
};

EListFileType FileTypeOf(int filter) { return filter == 1 ? EListFileType::Csv : EListFileType::Srf; }

STypedFileDialog ListDialog(const char* title) {
    return STypedFileDialog{
        SFileDialog{Tr(title), "SRF (*.srf);;CSV (*.csv)", ListFileExtension(EListFileType::Srf)},
        {ListFileExtension(EListFileType::Srf), ListFileExtension(EListFileType::Csv)}};
}

}  // namespace

SSegmentRow SegmentRow(int index, const SListPoint& segment, char decimalPoint) {
    SSegmentRow row;
    row.number = std::to_string(index + 1);
    row.frequency = Range(segment.points == 1 || segment.startfreq == segment.stopfreq,
                          segment.startfreq / kHzPerMHz, segment.stopfreq / kHzPerMHz,
                          kFrequencyDecimals, decimalPoint, Z5R_TEXT(" МГц"));
    row.level = Range(segment.points == 1 || segment.startpow == segment.stoppow, segment.startpow,
                      segment.stoppow, kLevelDecimals, decimalPoint, Z5R_TEXT(" дБм"));
    row.points = std::to_string(segment.points);
    row.checked = segment.used == 1;
    return row;
}

SListActions ListActionsFor(int rows, int selected) {
    SListActions usable;
    const bool one = selected == 1;
    const bool some = selected > 0;
    usable.edit = usable.up = usable.down = one;
    usable.remove = usable.selectAll = usable.deselectAll = some;
    usable.newList = usable.save = rows > 0;
    return usable;
}

STypedFileDialog ListOpenDialog() { return ListDialog(Z5R_TEXT("Открыть файл списка")); }
STypedFileDialog ListSaveDialog() { return ListDialog(Z5R_TEXT("Сохранить файл списка")); }

CListPanel::CListPanel(IListPanelHost& host, IPrompt& prompt) : host_(host), prompt_(prompt) {}

void CListPanel::Attach(IListRows* rows, ISegmentEditorDialog* editor, char decimalPoint) {
    rows_ = rows;
    editor_ = editor;
    decimalPoint_ = decimalPoint;
    ShowAllSegments();
}

void CListPanel::ShowSegmentRow(int index, const SListPoint& segment) {
    if (rows_ == nullptr || host_.SettingsLocked()) return;
    if (index == kAppendRow) index = rowCount_;
    if (index < 0 || index > rowCount_) return;
    // Writing the check box is not the operator's click.
    CRefreshing refreshing(refreshing_);
    rows_->ShowRow(index, SegmentRow(index, segment, decimalPoint_));
    if (index == rowCount_) ++rowCount_;
}

void CListPanel::ShowAllSegments() {
    if (rows_ == nullptr) return;
    CRefreshing refreshing(refreshing_);
    rows_->ClearRows();
    rowCount_ = 0;
    selection_.clear();
    for (const SListPoint& segment : segments_) ShowSegmentRow(kAppendRow, segment);
}

void CListPanel::ReplaceSegments(std::vector<SListPoint> segments) {
    segments_ = std::move(segments);
    modified_ = false;
    ShowAllSegments();
    UpdateActions(false);
}

void CListPanel::SelectionChanged(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [this](int row) { return row < 0 || row >= static_cast<int>(segments_.size()); });
    selection_ = std::move(rows);
    UpdateActions(!selection_.empty());
}

void CListPanel::UpdateActions(bool rowSelected) {
    if (rows_ == nullptr) return;
    rows_->ShowListActions(ListActionsFor(rowCount_, rowSelected ? static_cast<int>(selection_.size()) : 0));
}

void CListPanel::Select(int row) {
    selection_ = {row};
    if (rows_ != nullptr) rows_->SelectRow(row);
    UpdateActions(true);
}

bool CListPanel::ConfirmDiscard() {
    if (!modified_ || segments_.empty()) return true;
    const SPromptMessage question{Tr(Z5R_TEXT("Внимание")),
                                  Tr(Z5R_TEXT("Все несохраненные данные будут стерты!\nПродолжить?")),
                                  EPromptIcon::Warning, EPromptButtons::OkCancel, pfNone};
    return prompt_.ShowMessage(question) == EPromptResult::Ok;
}

bool CListPanel::EditWithLimits(SListPoint& segment) {
    if (editor_ == nullptr) return false;
    editor_->SetLimits(host_.EditorLimits());
    return editor_->EditSegment(segment);
}

void CListPanel::NewListActionExecute() {
    if (!ConfirmDiscard()) return;
    segments_.clear();
    ShowAllSegments();
    UpdateActions(false);
    host_.TransferFromList();
}

void CListPanel::OpenListActionExecute(EListOpen mode) {
    const bool append = mode == EListOpen::Append;
    const std::optional<SChosenFile> chosen = prompt_.AskOpenFile(ListOpenDialog());
    if (!chosen) return;
    const int selectAfter = append && !selection_.empty() ? selection_.front() : 0;
    if (!append && !ConfirmDiscard()) return;
    SListFileRead read = ReadListFile(chosen->path, FileTypeOf(chosen->type));
    if (read.status != EListFileStatus::Ok) {
        // A file that could not be read leaves the list as it was.
        if (const auto message = ListFileMessage(read.status)) prompt_.ShowMessage(*message);
        return;
    }
    if (!append) {
        segments_.clear();
        ShowAllSegments();
    }
    modified_ = append;
    {
        CRefreshing refreshing(refreshing_);
        segments_.reserve(segments_.size() + read.segments.size());
        for (SListPoint& segment : read.segments) {
            segments_.push_back(segment);
            ShowSegmentRow(kAppendRow, segment);
        }
        if (selectAfter < static_cast<int>(segments_.size())) {
            Select(selectAfter);
        } else {
            UpdateActions(false);
        }
    }
    host_.TransferFromList();
}

void CListPanel::SaveListActionExecute() {
    const std::optional<SChosenFile> chosen = prompt_.AskSaveFile(ListSaveDialog());
    if (!chosen) return;
    const EListFileStatus status =
        WriteListFile(chosen->path, FileTypeOf(chosen->type), segments_, host_.LevelCeiling());
    if (status == EListFileStatus::Ok) {
        modified_ = false;
    } else if (const auto message = ListFileMessage(status)) {
        // The list was not saved, so it keeps its mark.
        prompt_.ShowMessage(*message);
    }
}

void CListPanel::AddLineActionExecute() {
    SListPoint segment;
    if (!EditWithLimits(segment)) return;
    modified_ = true;
    ShowSegmentRow(kAppendRow, segment);
    segments_.push_back(segment);
    host_.TransferFromList();
    if (rows_ != nullptr) rows_->EnableSave();
}

void CListPanel::EditLineActionExecute() {
    if (selection_.empty()) return;
    const int row = selection_.front();
    SListPoint segment = segments_[static_cast<std::size_t>(row)];
    if (!EditWithLimits(segment)) return;
    modified_ = true;
    segments_[static_cast<std::size_t>(row)] = segment;
    ShowSegmentRow(row, segment);
    host_.TransferFromList();
}

void CListPanel::DeleteLineActionExecute() {
    if (selection_.empty()) return;
    const std::vector<int> doomed = selection_;
    const int selectAfter = doomed.front() == 0 ? 0 : doomed.front() - 1;
    modified_ = true;
    {
        CRefreshing refreshing(refreshing_);
        for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
            segments_.erase(segments_.begin() + *it);
        }
        for (SListPoint& segment : segments_) segment.used = segment.used != 0 ? 1 : 0;
        ShowAllSegments();
        if (segments_.empty()) {
            UpdateActions(false);
        } else {
            Select(std::min(selectAfter, static_cast<int>(segments_.size()) - 1));
        }
    }
    host_.TransferFromList();
}

void CListPanel::Swap(int upper) {
    std::swap(segments_[static_cast<std::size_t>(upper)], segments_[static_cast<std::size_t>(upper) + 1]);
    for (int row = upper; row < static_cast<int>(segments_.size()); ++row) {
        ShowSegmentRow(row, segments_[static_cast<std::size_t>(row)]);
    }
}

void CListPanel::UpLineActionExecute() {
    if (selection_.size() != 1 || selection_.front() == 0) return;
    const int row = selection_.front();
    Swap(row - 1);
    Select(row - 1);
    modified_ = true;
    host_.TransferFromList();
}

void CListPanel::DownLineActionExecute() {
    if (selection_.size() != 1 || selection_.front() + 1 >= static_cast<int>(segments_.size())) return;
    const int row = selection_.front();
    Swap(row);
    Select(row + 1);
    modified_ = true;
    host_.TransferFromList();
}

void CListPanel::SetAllUsed(int used) {
    for (std::size_t row = 0; row < segments_.size(); ++row) {
        segments_[row].used = used;
        ShowSegmentRow(static_cast<int>(row), segments_[row]);
    }
    modified_ = true;
    host_.TransferFromList();
}

void CListPanel::SelAllActionExecute() { SetAllUsed(1); }
void CListPanel::DeselAllActionExecute() { SetAllUsed(0); }

void CListPanel::ListLVDblClick() {
    if (selection_.empty()) {
        AddLineActionExecute();
    } else {
        EditLineActionExecute();
    }
}

void CListPanel::ListLVItemChecked(int row, bool checked) {
    if (refreshing_ || row < 0 || row >= static_cast<int>(segments_.size())) return;
    segments_[static_cast<std::size_t>(row)].used = checked ? 1 : 0;
    host_.TransferFromList();
}

}  // namespace z5r
