#include "runtime/format_settings.h"
