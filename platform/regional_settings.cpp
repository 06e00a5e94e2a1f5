#include "platform/regional_settings.h"
