// How the host ends, on its window's close and on a termination signal
// alike, whatever its windows are doing: with an error box open, with a
// window that refuses to close, inside any number of nested event loops.
#pragma once

class QWidget;

namespace vesk {

// From now on message boxes answer with their default button without being
// shown. Every other shown window is asked to close, so that the library's
// windows keep what they keep at their close; a refusal does not hold the
// end up. Then every event loop is left, the open boxes' too, and the
// host's QApplication::exec returns 0.
void EndHost(const QWidget& hostWindow);

}  // namespace vesk
