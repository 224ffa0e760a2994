// A folder with no place in the order.
#include "platform/surface.h"
