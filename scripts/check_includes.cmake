# check_includes.cmake: run at every build (cmake -DSOURCE_DIR=... -P). Only src/platform/ may
# include SDL, pixman or libjpeg. Linking them PRIVATE to the platform library already hides
# the SDL and pixman headers; turbojpeg.h sits in the system include folder, so look as well.
file(GLOB_RECURSE _files ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/bench/*.cpp
     ${SOURCE_DIR}/bench/*.h)
set(_bad "")
foreach(f IN LISTS _files)
  if(f MATCHES "/src/platform/")
    continue()
  endif()
  file(STRINGS ${f} _hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](SDL|pixman|turbojpeg|jpeglib)")
  if(_hits)
    file(RELATIVE_PATH _rel ${SOURCE_DIR} ${f})
    string(APPEND _bad "  ${_rel}: ${_hits}\n")
  endif()
endforeach()
if(_bad)
  message(FATAL_ERROR "Only src/platform/ may include SDL, pixman or libjpeg headers:\n${_bad}")
endif()
