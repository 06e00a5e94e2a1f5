#include "runtime/variant.h"
