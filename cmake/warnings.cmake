# The project's own targets build with every common warning. The presets, and so CI,
# turn the warnings into errors; a plain configure does not, so a compiler newer than
# the one the tree was checked with still builds it.
option(PALUNOR_WERROR "Treat warnings as errors" OFF)

function(palunor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(PALUNOR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
