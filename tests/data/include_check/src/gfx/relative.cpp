// A folder reached round its name.
#include "../platform/surface.h"
