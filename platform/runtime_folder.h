// The per-user runtime folder where the processes of one user meet: the table
// of registered message names, the entries of top-level windows and one
// socket per process. $XDG_RUNTIME_DIR/vesktools, or /tmp/vesktools-<uid>
// where that variable is unset.
#pragma once

#include <string>

namespace vesk {

// The folder, without a trailing "/", created with mode 0700 when missing.
// Raises vesk::Exception when it cannot be created, is not a folder of its
// own (a symbolic link, another user's) or its mode lets others in.
std::string RuntimeFolder();

}  // namespace vesk
