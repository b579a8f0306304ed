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

    auto* freqBox = new QGroupBox(Text(Z5R_TEXT("Частота")), this);
    FreqValRG = new TRadioGroup(Text(Z5R_TEXT("Значение")), ValueModeItems(), freqBox);
    FreqValRG->setObjectName(QStringLiteral("FreqValRG"));
    LinLogRG = new TRadioGroup(Text(Z5R_TEXT("Тип развертки")),
                               {Text(Z5R_TEXT("Линейный")), Text(Z5R_TEXT("Логарифмический"))},
                               freqBox);
    LinLogRG->setObjectName(QStringLiteral("LinLogRG"));
    auto* freqLayout = new QGridLayout(freqBox);
    freqLayout->addWidget(MakeEdit(seFreqStart, "edtStart", Z5R_TEXT("Старт:"), freqBox), 0, 0);
    freqLayout->addWidget(MakeEdit(seFreqStop, "edtStop", Z5R_TEXT("Стоп:"), freqBox), 1, 0);
    freqLayout->addWidget(MakeEdit(seFreqCenter, "edtCenter", Z5R_TEXT("Центр:"), freqBox), 2, 0);
    freqLayout->addWidget(MakeEdit(seFreqSpan, "edtSpan", Z5R_TEXT("Полоса:"), freqBox), 3, 0);
    freqLayout->addWidget(FreqValRG, 0, 1, 2, 1);
    freqLayout->addWidget(LinLogRG, 2, 1, 2, 1);

    auto* powBox = new QGroupBox(Text(Z5R_TEXT("Мощность")), this);
    PowValRG = new TRadioGroup(Text(Z5R_TEXT("Значение")), ValueModeItems(), powBox);
    PowValRG->setObjectName(QStringLiteral("PowValRG"));
    auto* powLayout = new QGridLayout(powBox);
    powLayout->addWidget(MakeEdit(sePowStart, "PowStart", Z5R_TEXT("Старт:"), powBox), 0, 0);
    powLayout->addWidget(MakeEdit(sePowStop, "PowStop", Z5R_TEXT("Стоп:"), powBox), 1, 0);
    powLayout->addWidget(MakeEdit(sePowCenter, "PowCenter", Z5R_TEXT("Центр:"), powBox), 2, 0);
    powLayout->addWidget(MakeEdit(sePowSpan, "PowSpan", Z5R_TEXT("Полоса:"), powBox), 3, 0);
    powLayout->addWidget(PowValRG, 0, 1, 2, 1);

    MakeEdit(sePoints, "edtPoints", Z5R_TEXT("Количество точек:"), this);
    for (int edit : {seFreqStart, seFreqStop, seFreqCenter, seFreqSpan}) {
        edits_[edit]->SetUnits(korvel::EUnits::Frequency);
        edits_[edit]->SetDisplayPower(kMegahertz);
        edits_[edit]->SetStep(korvel::StepSettings{kFreqIncrement, false, kFreqIncrementPower});
    }
    for (int edit : {sePowStart, sePowStop, sePowCenter})
        edits_[edit]->SetUnits(korvel::EUnits::Level);
    edits_[sePowSpan]->SetUnits(korvel::EUnits::Decibel);
    for (int edit : {sePoints, sePowStart, sePowStop, sePowCenter, sePowSpan})
        edits_[edit]->SetStep(korvel::StepSettings{kUnitIncrement, false, 0});

    OkButton = new QPushButton(Text(Z5R_TEXT("ОК")), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    CancelButton = new QPushButton(Text(Z5R_TEXT("Отмена")), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(freqBox);
    groups->addWidget(powBox);
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
