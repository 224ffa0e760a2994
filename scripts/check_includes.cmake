# check_includes.cmake: run at every build (cmake -DSOURCE_DIR=... -P); stops it when a file of
# src/ includes what its folder may not.
#
# 1. Only src/platform/ may include SDL, pixman or libjpeg. Linking them PRIVATE to the platform
#    library already hides the SDL and pixman headers; turbojpeg.h sits in the system include
#    folder, so look as well.
# 2. The folders of src/ stand in one order, each built only on those below it:
#
#        platform <- layout <- gfx <- game <- (media, ui) <- app <- main.cpp
#
#    A file includes from its own folder or a lower one, by the folder's name; never from a
#    higher one, nor media from ui or ui from media. This list is the one place the order is
#    written; a new folder takes its place here.
set(_order platform layout gfx game "media ui" app)

set(_rank 0)
foreach(level IN LISTS _order)
  string(REPLACE " " ";" level "${level}")
  foreach(folder IN LISTS level)
    set(_rank_${folder} ${_rank})
  endforeach()
  math(EXPR _rank "${_rank} + 1")
endforeach()
set(_top ${_rank}) # the files of src/ itself, above every folder

file(GLOB_RECURSE _files ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/bench/*.cpp
     ${SOURCE_DIR}/bench/*.h)
set(_bad "")
set(_backward "")
foreach(f IN LISTS _files)
  file(RELATIVE_PATH _rel ${SOURCE_DIR} ${f})
  if(NOT _rel MATCHES "^src/platform/")
    file(STRINGS ${f} _hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](SDL|pixman|turbojpeg|jpeglib)")
    if(_hits)
      string(APPEND _bad "  ${_rel}: ${_hits}\n")
    endif()
  endif()
  if(NOT _rel MATCHES "^src/")
    continue()
  endif()
  if(_rel MATCHES "^src/([^/]+)/")
    set(_from ${CMAKE_MATCH_1})
    if(NOT DEFINED _rank_${_from})
      string(APPEND _backward "  ${_rel}: src/${_from}/ has no place in the order\n")
      continue()
    endif()
    set(_from_rank ${_rank_${_from}})
  else()
    set(_from "")
    set(_from_rank ${_top})
  endif()
  file(STRINGS ${f} _lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS _lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" _inc "${line}")
    if(_inc MATCHES "(^|/)\\.\\./")
      string(APPEND _backward "  ${_rel}: ${_inc} (name the folder instead)\n")
    elseif(_inc MATCHES "^([^/]+)/")
      set(_to ${CMAKE_MATCH_1})
      if(DEFINED _rank_${_to} AND NOT _to STREQUAL _from AND NOT _rank_${_to} LESS _from_rank)
        string(APPEND _backward "  ${_rel}: ${_inc}\n")
      endif()
    endif()
  endforeach()
endforeach()
set(_message "")
if(_bad)
  string(APPEND _message "Only src/platform/ may include SDL, pixman or libjpeg headers:\n${_bad}")
endif()
if(_backward)
  string(APPEND _message "Includes against the order platform <- layout <- gfx <- game <- "
         "(media, ui) <- app (scripts/check_includes.cmake):\n${_backward}")
endif()
if(_message)
  message(FATAL_ERROR "${_message}")
endif()
