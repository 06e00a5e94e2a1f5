#include "platform/ini_file.h"
