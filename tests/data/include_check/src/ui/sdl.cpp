// SDL outside platform.
#include <SDL.h>
