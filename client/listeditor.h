// TListEditorForm: the segment editor of the sweep list, a fixed modal dialog
// created once and reused. The rules are CSegmentEditor's; the window shows
// its values and reports the operator's entries to it.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "core/list_point.h"
#include "model/segment_editor.h"

class QGridLayout;
class QGroupBox;
class QPushButton;

namespace korvel {
class TKvSpinEdit;
}

namespace z5r {

class TRadioGroup;

class TListEditorForm : public QDialog {
    Q_OBJECT
public:
    // `runModal` shows the form and returns its result (QDialog::exec unless
    // a test drives the form).
    explicit TListEditorForm(QWidget* parent = nullptr,
                             std::function<int(QDialog&)> runModal = nullptr);

    // The bounds of the edits for the next opening.
    void SetLimits(const SSegmentEditorLimits& limits);
    // Shows `segment`, lets the operator edit it and, on OK, writes the edited
    // values back into it. Returns QDialog::Accepted or QDialog::Rejected;
    // `segment` is unchanged unless accepted.
    int EditSegment(SListPoint& segment);

    // The nine edits in the order of ESegmentEdit.
    korvel::TKvSpinEdit* Edit(int edit) const { return edits_[edit]; }
    TRadioGroup* FreqValRG = nullptr;
    TRadioGroup* PowValRG = nullptr;
    TRadioGroup* LinLogRG = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    static constexpr int kGroupEdits = 4;  // start, stop, centre, span
    struct SGroupWidgets {
        QGroupBox* box;
        QGridLayout* layout;
        TRadioGroup* valueRG;
    };
    // The group box of frequency or level: its four edits from `first` and
    // its value-mode radio group.
    SGroupWidgets MakeGroup(const char* title, int first,
                            const std::array<const char*, kGroupEdits>& names);
    korvel::TKvSpinEdit* MakeEdit(int edit, const char* name, const char* label, QWidget* parent);
    void Change(int edit);
    void Validate();
    void FreqValRGClick(int item);
    void PowValRGClick(int item);
    // Shows the editor's values, enabled states and limits. An edit is set
    // only where its value differs, so the entry being typed stays as typed.
    void ShowEditor();

    CSegmentEditor editor_;
    std::array<korvel::TKvSpinEdit*, kSegmentEditCount> edits_{};
    std::function<int(QDialog&)> runModal_;
};

}  // namespace z5r
