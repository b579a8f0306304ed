// The splash window's background: the built-in picture, or a picture file
// that replaces it.
#pragma once

#include <QImage>
#include <optional>
#include <string>

namespace z5r {

inline constexpr int kSplashWidth = 550;
inline constexpr int kSplashHeight = 300;

// The built-in picture, drawn rather than shipped: 550 × 300 pixels.
QImage BuiltInBackground();

// The picture in `path`; the built-in one when there is no path or the file
// is no picture the toolkit can read.
QImage LoadBackground(const std::optional<std::string>& path);

}  // namespace z5r
