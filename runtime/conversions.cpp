#include "runtime/conversions.h"
