#include "tools/VeskMsg.h"

#include "platform/registered_messages.h"

namespace vesk {

uint16_t VeskToolsMessage = 0;

void RegisterVeskToolsMessage() { VeskToolsMessage = RegisterWindowMessage(kVeskToolsMessageName); }

}  // namespace vesk
