// The list panel of the main window: the working sweep list (the segments in
// row order), the selection the list view reports, the list's flags and every
// rule of its actions. The list view, the segment editor and the person are
// reached through interfaces; every change ends in the list transfer.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/list_point.h"
#include "model/list_file.h"
#include "model/segment_editor.h"
#include "ui/prompt.h"

namespace z5r {

// The texts of one row of the list view.
struct SSegmentRow {
    std::string number;     // "№№"
    std::string frequency;  // "Частота"
    std::string level;      // "Мощность"
    std::string points;     // "Количество точек"
    bool checked = false;   // a `used` other than 1 shows an empty box

    friend bool operator==(const SSegmentRow&, const SSegmentRow&) = default;
};

// Row `index` (from 0) showing `segment`; numbers with `decimalPoint`.
SSegmentRow SegmentRow(int index, const SListPoint& segment, char decimalPoint);

// Which commands of the panel can be used. Open, open-and-add and add always can.
struct SListActions {
    bool newList = false;
    bool save = false;
    bool edit = false;
    bool remove = false;
    bool up = false;
    bool down = false;
    bool selectAll = false;
    bool deselectAll = false;

    friend bool operator==(const SListActions&, const SListActions&) = default;
};

// After the selection changed to `selected` rows of `rows`.
SListActions ListActionsFor(int rows, int selected);

// The list view.
class IListRows {
public:
    virtual ~IListRows() = default;
    virtual void ClearRows() = 0;
    // Writes row `index`; `index` equal to the row count appends a row.
    virtual void ShowRow(int index, const SSegmentRow& row) = 0;
    // Only `row` selected (and made current).
    virtual void SelectRow(int row) = 0;
    virtual void ShowListActions(const SListActions& usable) = 0;
    virtual void EnableSave() = 0;
};

// The modal segment editor.
class ISegmentEditorDialog {
public:
    virtual ~ISegmentEditorDialog() = default;
    virtual void SetLimits(const SSegmentEditorLimits& limits) = 0;
    // True when the operator confirmed; `segment` then holds the entries.
    virtual bool EditSegment(SListPoint& segment) = 0;
};

// What the panel needs from the main window around it.
class IListPanelHost {
public:
    virtual ~IListPanelHost() = default;
    // The list transfer with the list panel as its source.
    virtual void TransferFromList() = 0;
    virtual SSegmentEditorLimits EditorLimits() const = 0;
    // The level ceiling a CSV file's points are written with.
    virtual std::optional<double> LevelCeiling() const = 0;
    virtual bool SettingsLocked() const = 0;
};

enum class EListOpen { Replace, Append };

class CListPanel {
public:
    CListPanel(IListPanelHost& host, IPrompt& prompt);

    // The list view and the editor of the window; until then rows are not
    // shown and the editor's actions do nothing.
    void Attach(IListRows* rows, ISegmentEditorDialog* editor, char decimalPoint);

    const std::vector<SListPoint>& Segments() const { return segments_; }
    const std::vector<int>& Selection() const { return selection_; }
    bool Modified() const { return modified_; }
    bool Refreshing() const { return refreshing_; }

    // ---- the operations of the window -------------------------------------
    void ShowSegmentRow(int index, const SListPoint& segment);
    void ShowAllSegments();
    // A profile's sweep list becomes the working list, without a transfer.
    void ReplaceSegments(std::vector<SListPoint> segments);
    // The list view's selection changed to `rows` (ascending or not).
    void SelectionChanged(std::vector<int> rows);

    // ---- the actions -------------------------------------------------------
    void NewListActionExecute();
    void OpenListActionExecute(EListOpen mode);
    void SaveListActionExecute();
    void AddLineActionExecute();
    void EditLineActionExecute();
    void DeleteLineActionExecute();
    void UpLineActionExecute();
    void DownLineActionExecute();
    void SelAllActionExecute();
    void DeselAllActionExecute();
    // A double click on the list view.
    void ListLVDblClick();
    // The operator clicked the check box of `row`.
    void ListLVItemChecked(int row, bool checked);

private:
    bool ConfirmDiscard();
    bool EditWithLimits(SListPoint& segment);
    void UpdateActions(bool rowSelected);
    void Select(int row);
    void Swap(int upper);
    void SetAllUsed(int used);

    IListPanelHost& host_;
    IPrompt& prompt_;
    IListRows* rows_ = nullptr;
    ISegmentEditorDialog* editor_ = nullptr;
    char decimalPoint_ = '.';
    std::vector<SListPoint> segments_;
    std::vector<int> selection_;  // ascending
    int rowCount_ = 0;            // rows the list view holds
    bool modified_ = false;       // listModified
    bool refreshing_ = false;     // listRefreshing
};

// The file dialogs of the list panel; the filter index is the file type.
STypedFileDialog ListOpenDialog();
STypedFileDialog ListSaveDialog();

}  // namespace z5r
