// Starting another program that lives on by itself: no shell, each argument
// handed over as it is, the program not a child that this process waits for.
#pragma once

#include <string>
#include <vector>

namespace vesk {

// Starts the program (a path, or a name looked up in PATH) with the
// arguments; true when it was started.
bool StartDetached(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace vesk
