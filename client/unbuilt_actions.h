// The window's actions whose feature is not built yet. Each stays disabled,
// whatever the window's state would allow, and its hint says it is not
// available yet, so no control does nothing. A feature that lands takes its
// actions out of the table.
#pragma once

#include <array>

class QWidget;

namespace z5r {

inline constexpr std::array kUnbuiltActions = {
    // the profile list
    "NewProfileListAction", "OpenProfileListAction", "SaveProfileListAction", "AddProfileAction",
    "UpdateProfileAction", "EditProfileAction", "DelProfileAction", "ApplyProfileAction", "DefaultProfileAction",
    // superuser mode
    "PassSuperuserAction", "ChangePassSuperuserAction", "ExitSupermodeAction",
};

// Holds the table's actions of `window` disabled with the hint.
void HoldUnbuiltActions(QWidget* window);

}  // namespace z5r
