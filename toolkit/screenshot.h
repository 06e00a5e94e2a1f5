// Renders a widget (a window with everything on it) to a PNG file, for the
// pictures of the windows that `make screenshots` collects.
#pragma once

#include <string>

class QWidget;

namespace vesk {

// False when the picture could not be written.
bool SaveScreenshot(QWidget& widget, const std::string& path);

}  // namespace vesk
