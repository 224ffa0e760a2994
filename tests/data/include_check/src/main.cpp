// The top: anything.
#include "app/game_app.h"
#include "platform/message_box.h"
