# The layer rule at the include lines: a file includes only headers of its own layer and of the
# layers below it. The link edges are checked when configuring (Layers.cmake); this catches an
# include of a layer above that would compile and link all the same (a header with inline code
# only, or one whose library is linked anyway).
#   cmake -DSOURCE_DIR=<top> -P cmake/CheckIncludes.cmake
# Fails with the offending lines.

cmake_minimum_required(VERSION 3.25)

# Layer of each folder, and the folders each may include.
set(_allowed_platform platform)
set(_allowed_model platform model)
set(_allowed_line platform model line)
set(_allowed_frames platform model frames)
set(_allowed_ui platform model line frames ui)

set(_bad "")
foreach(_layer platform model line frames ui)
  file(GLOB_RECURSE _files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${_layer}/*.h ${SOURCE_DIR}/${_layer}/*.cpp)
  foreach(_file ${_files})
    file(STRINGS ${SOURCE_DIR}/${_file} _includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
    foreach(_line ${_includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([a-z]+)/.*$" "\\1" _target "${_line}")
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" _header "${_line}")
      if(NOT _target IN_LIST _allowed_${_layer})
        list(JOIN _allowed_${_layer} ", " _may)
        list(APPEND _bad "${_file}: ${_header} (${_layer}/ may include only ${_may})")
      elseif(_header STREQUAL "platform/Kit.h" AND _layer MATCHES "^(platform|model|line)$"
             AND NOT _file MATCHES "^platform/Kit\\.")
        # The widget kit is a library of its own, above the platform core.
        list(APPEND _bad "${_file}: ${_header} (the widget kit is not for ${_layer}/)")
      endif()
    endforeach()
  endforeach()
endforeach()

if(_bad)
  list(JOIN _bad "\n  " _text)
  message(FATAL_ERROR "Includes of a layer above:\n  ${_text}")
endif()
message(STATUS "Every include keeps to the layers.")
