#include "engine/radiridir.h"
