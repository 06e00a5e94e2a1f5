#include "alarm/VeskMsg.h"

namespace vesk {

uint16_t AlarmAusMessage = 0;

}  // namespace vesk
