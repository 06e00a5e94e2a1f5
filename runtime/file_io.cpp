#include "runtime/file_io.h"
