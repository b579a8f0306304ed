// Catalogue texts and plain strings as the widgets need them.
#pragma once

#include <QString>
#include <string>

namespace korvel {

inline QString ToQ(const std::string& text) { return QString::fromStdString(text); }

}  // namespace korvel
