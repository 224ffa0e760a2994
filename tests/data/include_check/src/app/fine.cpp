// Includes down the order and from its own folder: fine.
#include "app/interface.h"
#include "game/game.h"
#include "media/settings.h"
#include "platform/surface.h"
#include "ui/banner.h"

#include <string>
