// The lowest folder reaching up.
#include "layout/layout.h"
