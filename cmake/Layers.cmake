# The layer rule of the build: a library may not reach, directly or through what it links, the
# targets its layer must not use. Checked once every link edge is written (at the end of the
# top-level CMakeLists.txt), so configuring fails on an edge that breaks the rule.

# Appends to out_var every target that target links, directly or transitively.
function(mirvane_linked_targets target out_var)
  set(_seen "")
  set(_todo ${target})
  while(_todo)
    list(POP_FRONT _todo _t)
    get_target_property(_imported ${_t} IMPORTED)
    get_target_property(_links ${_t} INTERFACE_LINK_LIBRARIES)
    if(NOT _imported)
      get_target_property(_own ${_t} LINK_LIBRARIES)
      list(APPEND _links ${_own})
    endif()
    foreach(_l ${_links})
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" _l "${_l}")
      if(TARGET "${_l}" AND NOT _l IN_LIST _seen)
        list(APPEND _seen ${_l})
        list(APPEND _todo ${_l})
      endif()
    endforeach()
  endwhile()
  set(${out_var} ${_seen} PARENT_SCOPE)
endfunction()

function(mirvane_check_layer target)
  mirvane_linked_targets(${target} _linked)
  foreach(_forbidden ${ARGN})
    if(_forbidden IN_LIST _linked)
      message(FATAL_ERROR "${target} links ${_forbidden}: its layer may not use it")
    endif()
  endforeach()
endfunction()

# mirvane_forbid_links(target forbidden...): target must never link any of forbidden.
function(mirvane_forbid_links target)
  # A deferred call reads its variables when it runs: write the values into it now.
  cmake_language(EVAL CODE
    "cmake_language(DEFER DIRECTORY [[${PROJECT_SOURCE_DIR}]] CALL mirvane_check_layer ${target} ${ARGN})")
endfunction()
