// Comparison of UTF-8 texts without regard to case, as the window system
// compares window classes, captions and message names.
#pragma once

#include <string_view>

namespace vesk {

// Equal after Unicode case folding ("Übersicht" and "üBERSICHT" are equal).
// A text that is not valid UTF-8 is compared byte by byte with ASCII letters
// folded, so two different malformed texts never pass for equal.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace vesk
