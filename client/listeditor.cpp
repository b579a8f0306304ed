#include "listeditor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

#include "korvel/components/kv_spin_edit.h"
#include "ui/radio_group.h"
#include "ui/translate_window.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

constexpr double kFreqIncrement = 1000000.0;  // Hz
constexpr int kFreqIncrementPower = 6;
constexpr int kMegahertz = 6;  // frequencies are shown in MHz
constexpr double kUnitIncrement = 1.0;
constexpr bool kLinearStep = false;  // the step kind: by the increment, not by a digit

QString Text(const char* key) { return QString::fromUtf8(key); }

QStringList ValueModeItems() { return {Text(Z5R_TEXT("Фиксированное")), Text(Z5R_TEXT("Диапазон"))}; }

bool SameValue(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

}  // namespace

TListEditorForm::TListEditorForm(QWidget* parent, std::function<int(QDialog&)> runModal)
    : QDialog(parent), runModal_(std::move(runModal)) {
    setObjectName(QStringLiteral("ListEditorForm"));
    setWindowTitle(Text(Z5R_TEXT("Редактор списка")));
    setModal(true);
    setSizeGripEnabled(false);
    if (!runModal_) runModal_ = [](QDialog& dialog) { return dialog.exec(); };

    const SGroupWidgets freq = MakeGroup(Z5R_TEXT("Частота"), seFreqStart,
                                         {"edtStart", "edtStop", "edtCenter", "edtSpan"});
    FreqValRG = freq.valueRG;
    FreqValRG->setObjectName(QStringLiteral("FreqValRG"));
    LinLogRG = new TRadioGroup(Text(Z5R_TEXT("Тип развертки")),
                               {Text(Z5R_TEXT("Линейный")), Text(Z5R_TEXT("Логарифмический"))},
                               freq.box);
    LinLogRG->setObjectName(QStringLiteral("LinLogRG"));
    freq.layout->addWidget(LinLogRG, 2, 1, 2, 1);

    const SGroupWidgets pow = MakeGroup(Z5R_TEXT("Мощность"), sePowStart,
                                        {"PowStart", "PowStop", "PowCenter", "PowSpan"});
    PowValRG = pow.valueRG;
    PowValRG->setObjectName(QStringLiteral("PowValRG"));

    MakeEdit(sePoints, "edtPoints", Z5R_TEXT("Количество точек:"), this);
    for (int edit : {seFreqStart, seFreqStop, seFreqCenter, seFreqSpan}) {
        edits_[edit]->SetUnits(korvel::EUnits::Frequency);
        edits_[edit]->SetDisplayPower(kMegahertz);
        edits_[edit]->SetStep(korvel::StepSettings{kFreqIncrement, kLinearStep, kFreqIncrementPower});
    }
    for (int edit : {sePowStart, sePowStop, sePowCenter})
        edits_[edit]->SetUnits(korvel::EUnits::Level);
    edits_[sePowSpan]->SetUnits(korvel::EUnits::Decibel);
    for (int edit : {sePoints, sePowStart, sePowStop, sePowCenter, sePowSpan})
        edits_[edit]->SetStep(korvel::StepSettings{kUnitIncrement, kLinearStep, 0});

    OkButton = new QPushButton(Text(Z5R_TEXT("ОК")), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    CancelButton = new QPushButton(Text(Z5R_TEXT("Отмена")), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(freq.box);
    groups->addWidget(pow.box);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(edits_[sePoints]);
    bottom->addStretch();
    bottom->addWidget(OkButton);
    bottom->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(FreqValRG, &TRadioGroup::itemClicked, this, &TListEditorForm::FreqValRGClick);
    connect(PowValRG, &TRadioGroup::itemClicked, this, &TListEditorForm::PowValRGClick);
    connect(LinLogRG, &TRadioGroup::itemClicked, this,
            [this](int item) { editor_.SetSpacing(static_cast<ESpacing>(item)); });
    ShowEditor();
    TranslateWindow(this);
}

TListEditorForm::SGroupWidgets TListEditorForm::MakeGroup(
    const char* title, int first, const std::array<const char*, kGroupEdits>& names) {
    static constexpr std::array<const char*, kGroupEdits> kLabels = {
        Z5R_TEXT("Старт:"), Z5R_TEXT("Стоп:"), Z5R_TEXT("Центр:"), Z5R_TEXT("Полоса:")};
    auto* box = new QGroupBox(Text(title), this);
    auto* layout = new QGridLayout(box);
    for (int i = 0; i < kGroupEdits; ++i)
        layout->addWidget(MakeEdit(first + i, names[i], kLabels[i], box), i, 0);
    auto* valueRG = new TRadioGroup(Text(Z5R_TEXT("Значение")), ValueModeItems(), box);
    layout->addWidget(valueRG, 0, 1, 2, 1);
    return SGroupWidgets{box, layout, valueRG};
}

korvel::TKvSpinEdit* TListEditorForm::MakeEdit(int edit, const char* name, const char* label,
                                               QWidget* parent) {
    auto* spin = new korvel::TKvSpinEdit(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->SetLabel(Text(label));
    spin->OnChange = [this, edit](korvel::TKvSpinEdit*) { Change(edit); };
    spin->OnValidate = [this](korvel::TKvSpinEdit*) { Validate(); };
    edits_[edit] = spin;
    return spin;
}

void TListEditorForm::SetLimits(const SSegmentEditorLimits& limits) {
    editor_.SetLimits(limits);
    ShowEditor();
}

int TListEditorForm::EditSegment(SListPoint& segment) {
    editor_.Load(segment);
    ShowEditor();
    const int result = runModal_(*this);
    if (result == QDialog::Accepted) segment = editor_.Result(segment);
    return result;
}

void TListEditorForm::Change(int edit) {
    editor_.Change(edit, edits_[edit]->GetValue());
    ShowEditor();
}

void TListEditorForm::Validate() {
    editor_.Validate();
}

void TListEditorForm::FreqValRGClick(int item) {
    editor_.FreqValClick(static_cast<EValueMode>(item));
    ShowEditor();
}

void TListEditorForm::PowValRGClick(int item) {
    editor_.PowValClick(static_cast<EValueMode>(item));
    ShowEditor();
}

void TListEditorForm::ShowEditor() {
    for (int edit = 0; edit < kSegmentEditCount; ++edit) {
        korvel::TKvSpinEdit* spin = edits_[edit];
        spin->SetMinValue(editor_.Range(edit).minimum);
        spin->SetMaxValue(editor_.Range(edit).maximum);
        spin->setEnabled(editor_.Enabled(edit));
        if (SameValue(spin->GetValue(), editor_.Value(edit))) continue;
        // The editor already holds the value: showing it is no change.
        auto onChange = std::exchange(spin->OnChange, nullptr);
        spin->SetValue(editor_.Value(edit));
        spin->OnChange = std::move(onChange);
    }
    FreqValRG->SetItemIndex(static_cast<int>(editor_.FreqMode()));
    PowValRG->SetItemIndex(static_cast<int>(editor_.PowMode()));
    LinLogRG->SetItemIndex(static_cast<int>(editor_.Spacing()));
    LinLogRG->setEnabled(editor_.SpacingEnabled());
}

}  // namespace z5r
