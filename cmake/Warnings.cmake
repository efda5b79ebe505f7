# One place for the compiler warnings every target of ours uses.
add_library(glyphwell_warnings INTERFACE)
target_compile_options(glyphwell_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wformat=2)
if(GLYPHWELL_WERROR)
  target_compile_options(glyphwell_warnings INTERFACE -Werror)
endif()
