// The icon of Vesk Tools, for the host's windows and its notification-area
// icon: the alarm clock of the icon theme's sizes, read from the shipped
// data (icons/hicolor/<n>x<n>/apps/vesktools.png), so that the build folder
// shows the same icon as an installed program.
#pragma once

#include <QIcon>

namespace vesk {

// The icon theme's "vesktools" when the shipped data lacks it; null when
// neither has it.
QIcon ProgramIcon();

}  // namespace vesk
