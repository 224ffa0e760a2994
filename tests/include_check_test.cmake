# include_check_test.cmake: the build's include check stops on a tree that breaks its rules,
# naming each wrong include and nothing else (cmake -DCHECK=... -DTREE=... -P).
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${TREE} -P ${CHECK}
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "the check passed a tree that breaks its rules")
endif()
string(REGEX MATCHALL "src/[a-z_/]+\\.(cpp|h): [^\n]*" named "${err}")
set(expected
    "src/extra/stray.cpp: src/extra/ has no place in the order"
    "src/game/backward.h: app/interface.h"
    "src/gfx/relative.cpp: ../platform/surface.h (name the folder instead)"
    "src/platform/upward.cpp: layout/layout.h"
    "src/ui/peer.cpp: media/settings.h"
    "src/ui/sdl.cpp: #include <SDL.h>")
list(SORT named)
if(NOT named STREQUAL expected)
  message(FATAL_ERROR "named:\n${named}\nexpected:\n${expected}\nthe check said:\n${err}")
endif()
