#include "platform/message_box.h"
