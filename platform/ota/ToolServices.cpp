#include "platform/ota/ToolServices.h"

namespace vesk {

TIToolServices* ToolServices = nullptr;

} // namespace vesk
