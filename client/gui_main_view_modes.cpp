// TMain: compact and full view, and which roll-up panels are shown.
#include <QAction>
#include <QLabel>
#include <QWindow>

#include "gui_main.h"
#include "korvel/components/roll_panel.h"

namespace z5r {

namespace {

constexpr int kCompactWidth = 285;
constexpr int kCompactMinHeight = 140;
constexpr int kFullWidth = 920;
constexpr int kFullMinHeight = 590;
constexpr std::size_t kPulsePanel = 5;

}  // namespace

std::array<korvel::TKvRollPanel*, 6> TMain::Panels() const {
    return {ControlPan, FreqPan, PowPan, SyncPan, OGPan, PMPan};
}

void TMain::SetTitleButtons(bool maximize) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    if (maximize) flags |= Qt::WindowMaximizeButtonHint;
    // Told to the window directly: setWindowFlags would hide and show it
    // again, and the new activation would look like the operator returning.
    overrideWindowFlags(flags);
    if (QWindow* window = windowHandle()) window->setFlags(flags);
}

void TMain::ShowInstrumentIdentity(bool show) {
    for (QLabel* item : {NameLabelItem, SNLabelItem, IPLabelItem}) item->setVisible(show);
}

void TMain::CompactViewActionExecute() {
    LeftPanel->hide();
    // The narrow status bar keeps the connection and the RF button.
    ShowInstrumentIdentity(false);
    setMinimumSize(kCompactWidth, kCompactMinHeight);
    setMaximumWidth(kCompactWidth);
    resize(kCompactWidth, height());
    SetTitleButtons(false);
}

void TMain::FullViewActionExecute() {
    LeftPanel->show();
    ShowInstrumentIdentity(true);
    setMaximumWidth(QWIDGETSIZE_MAX);
    setMinimumSize(kFullWidth, kFullMinHeight);
    resize(kFullWidth, std::max(height(), kFullMinHeight));
    SetTitleButtons(true);
}

void TMain::PanelToggled(int index, bool visible) {
    const auto panels = Panels();
    if (index < 0 || static_cast<std::size_t>(index) >= panels.size()) return;
    panels[static_cast<std::size_t>(index)]->setVisible(visible);
    ControlPS->ArrangePanels();
}

void TMain::HideAllActionExecute() {
    const auto panels = Panels();
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const QSignalBlocker quiet(PanelToggles[i]);
        PanelToggles[i]->setChecked(false);
        panels[i]->setVisible(false);
    }
    ControlPS->ArrangePanels();
}

void TMain::RestoreAllActionExecute() {
    const auto panels = Panels();
    for (std::size_t i = 0; i < panels.size(); ++i) {
        // Pulse modulation comes back only where the instrument offers it.
        const bool visible = i != kPulsePanel || PanelToggles[i]->isVisible();
        const QSignalBlocker quiet(PanelToggles[i]);
        PanelToggles[i]->setChecked(visible);
        panels[i]->setVisible(visible);
    }
    ControlPS->ArrangePanels();
}

void TMain::ShowPulsePanel(bool show) {
    QAction* toggle = PanelToggles[kPulsePanel];
    const QSignalBlocker quiet(toggle);
    toggle->setVisible(show);
    toggle->setChecked(show);
    PMPan->setVisible(show);
    ControlPS->ArrangePanels();
}

}  // namespace z5r
