// A game file that reaches up to the main screen.
#include "app/interface.h"
