// Which state images the window shows for the operating mode and the
// trigger, as indices of the window's state image list.
#pragma once

#include "core/profile.h"

namespace z5r {

// The state image list: none, then one image per operating mode, then one
// per trigger.
constexpr int kStateImageNone = 0;
constexpr int kStateImageFirstMode = 1;
constexpr int kStateImageFirstTrigger = 6;
constexpr int kStateImageCount = 9;

struct SStateImages {
    int mode = kStateImageNone;
    int trigger = kStateImageNone;

    friend bool operator==(const SStateImages&, const SStateImages&) = default;
};

// Nothing is shown while the controls are off (disconnected or locked): the
// combo boxes then show no setting of the instrument either.
constexpr SStateImages StateImages(const SControlParams& control, bool controlsOff) {
    if (controlsOff) return {};
    return {kStateImageFirstMode + control.mode, kStateImageFirstTrigger + control.trigger};
}

}  // namespace z5r
