// TPacketParamsForm: the pulse packet editor. A modal dialog, created once with
// its caption and passed through the catalogue; its content comes with its own
// work.
#pragma once

#include <QDialog>

namespace z5r {

class TPacketParamsForm : public QDialog {
    Q_OBJECT
public:
    explicit TPacketParamsForm(QWidget* parent = nullptr);
};

}  // namespace z5r
