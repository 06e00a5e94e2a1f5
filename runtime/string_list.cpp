#include "runtime/string_list.h"
