// A ui file that uses its peer media.
#include "media/settings.h"
