# One place for the compiler warnings every target of ours uses.
add_library(glyphwell_warnings INTERFACE)
target_compile_options(glyphwell_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wformat=2)
if(GLYPHWELL_WERROR)
  target_compile_options(glyphwell_warnings INTERFACE -Werror)
endif()

# Adds a library for one area of src/, with our warnings and src/ as include root.
function(glyphwell_area_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE glyphwell_warnings)
endfunction()
