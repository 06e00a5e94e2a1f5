#include "runtime/exceptions.h"
