// The sample files of the exchange tests, in the shapes real exporters
// write them (samples/), and the reading of one.
#pragma once

#include <string>

namespace vesk {

std::string Sample(const std::string& name);

}  // namespace vesk
