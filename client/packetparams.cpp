#include "packetparams.h"

#include "ui/translate_window.h"
#include "z5r/i18n.h"

namespace z5r {

TPacketParamsForm::TPacketParamsForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PacketParamsForm"));
    setWindowTitle(QString::fromUtf8(Z5R_TEXT("Параметры пачки радиоимпульсов")));
    setModal(true);
    // Resizable, never smaller than its list and edits need.
    setMinimumSize(600, 265);
    TranslateWindow(this);
}

}  // namespace z5r
