// The main window's own pictures, drawn by the program and chosen by index as
// the window's image lists are: the state images of the operating mode, the
// trigger and the sweep type, and the tool bar's images.
#pragma once

#include <QIcon>
#include <QPixmap>

#include "model/state_images.h"

namespace z5r {

// The tool bar's image list; the RF action shows 3 while the output
// radiates and 4 otherwise.
enum EToolImage : int {
    tiConnect = 0,
    tiDisconnect = 1,
    tiHandStep = 2,
    tiRfOn = 3,
    tiRfOff = 4,
};

// Index kStateImageNone, and any index outside the list, is an empty picture.
QPixmap StateImage(int index);
QIcon ToolImage(EToolImage index);
// The sweep type's picture; drawn in colour while its item is checked.
QIcon SweepTypeImage(int sweepType);

}  // namespace z5r
