// TMain: the changed marks of the numeric edits and the confirmation of an
// entry. The coupling while typing and the sends the confirmation leads to
// are added with the instrument handlers.
#include "gui_main.h"
#include "korvel/components/kv_spin_edit.h"
#include "model/edit_validation.h"

namespace z5r {

EditStates TMain::CurrentEditStates() const {
    EditStates states{};
    for (int i = 0; i < kEditCount; ++i) {
        const korvel::TKvSpinEdit* edit = edits_[static_cast<std::size_t>(i)];
        auto& s = states[static_cast<std::size_t>(i)];
        s.value = edit->GetValue();
        s.minimum = edit->MinValue();
        s.maximum = edit->MaxValue();
        s.changed = edit->GetChangedVal();
        s.enabled = edit->isEnabled();
    }
    return states;
}

void TMain::OnEditValidate(korvel::TKvSpinEdit* source) {
    const SValidation validation = Validate(EditIndex(source), CurrentEditStates(), profile_.controlparams.mode,
                                            profile_.freqparams.mode);
    // An entry out of range keeps every mark until it is corrected.
    if (validation.blocked) return;
    MarkAll(false);
    // Seam: the sends of validation.dispatch (frequency, power, dwell, sync
    // time, phase, pulse parameters) and the current-profile mark come with
    // the instrument handlers and the profile list; without a confirmed edit
    // there is nothing to send.
}

}  // namespace z5r
