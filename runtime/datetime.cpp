#include "runtime/datetime.h"
