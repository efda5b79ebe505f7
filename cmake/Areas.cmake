# The areas of src/, each one static library named glyphwell_<area>, and the areas each may
# link. docs/ARCHITECTURE.md draws the same table; a link that is not allowed here stops the
# configuration, so the layering cannot drift.
set(GLYPHWELL_AREAS platform container catalogue_requests catalogue app fonts collections
    downloads preview update ui_logic ui)
set(GLYPHWELL_AREA_LINKS_platform "")
set(GLYPHWELL_AREA_LINKS_container "")
set(GLYPHWELL_AREA_LINKS_catalogue_requests platform)
set(GLYPHWELL_AREA_LINKS_catalogue container platform)
set(GLYPHWELL_AREA_LINKS_app catalogue_requests platform)
set(GLYPHWELL_AREA_LINKS_fonts platform)
set(GLYPHWELL_AREA_LINKS_collections fonts platform)
set(GLYPHWELL_AREA_LINKS_downloads catalogue_requests container fonts platform)
set(GLYPHWELL_AREA_LINKS_preview catalogue_requests platform)
set(GLYPHWELL_AREA_LINKS_update app catalogue catalogue_requests container downloads platform)
set(GLYPHWELL_AREA_LINKS_ui_logic app catalogue catalogue_requests collections downloads fonts
    platform)
set(GLYPHWELL_AREA_LINKS_ui ui_logic app catalogue catalogue_requests container collections
    downloads fonts platform preview update)
# The catalogue service shares only the container format with the program.
set(GLYPHWELL_SERVICE_LIBRARIES glyphwell_service glyphwell_jet_writer)
set(GLYPHWELL_SERVICE_MAY_LINK container jet_writer)

# glyphwell_area_library(AREA SOURCES file... [LINKS area...] [PRIVATE_LINKS area...])
# Adds the library of one area with our warnings and src/ as include root. LINKS are public,
# PRIVATE_LINKS private; both must be areas AREA may link.
function(glyphwell_area_library area)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS;PRIVATE_LINKS" ${ARGN})
  if(NOT area IN_LIST GLYPHWELL_AREAS)
    message(FATAL_ERROR "'${area}' is not an area of src/ (cmake/Areas.cmake)")
  endif()
  foreach(linked IN LISTS ARG_LINKS ARG_PRIVATE_LINKS)
    if(NOT linked IN_LIST GLYPHWELL_AREA_LINKS_${area})
      message(FATAL_ERROR "area '${area}' may not link area '${linked}' "
                          "(see cmake/Areas.cmake and docs/ARCHITECTURE.md)")
    endif()
  endforeach()
  set(target glyphwell_${area})
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PRIVATE glyphwell_warnings)
  list(TRANSFORM ARG_LINKS PREPEND glyphwell_)
  list(TRANSFORM ARG_PRIVATE_LINKS PREPEND glyphwell_)
  target_link_libraries(${target} PUBLIC ${ARG_LINKS} PRIVATE ${ARG_PRIVATE_LINKS})
endfunction()

# Fails when any library of ours links one of our libraries the table does not allow, also
# through a target_link_libraries call outside the helper. Run once every target exists.
function(glyphwell_check_area_links)
  set(checked "")
  foreach(area IN LISTS GLYPHWELL_AREAS)
    if(TARGET glyphwell_${area})
      list(APPEND checked glyphwell_${area})
      set(allowed_glyphwell_${area} ${GLYPHWELL_AREA_LINKS_${area}})
    endif()
  endforeach()
  foreach(service IN LISTS GLYPHWELL_SERVICE_LIBRARIES)
    if(TARGET ${service})
      list(APPEND checked ${service})
      set(allowed_${service} ${GLYPHWELL_SERVICE_MAY_LINK})
    endif()
  endforeach()
  foreach(target IN LISTS checked)
    get_target_property(links ${target} LINK_LIBRARIES)
    get_target_property(interface_links ${target} INTERFACE_LINK_LIBRARIES)
    foreach(link IN LISTS links interface_links)
      # Private links of static libraries show up as $<LINK_ONLY:...>.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
      if(link MATCHES "^glyphwell_(.+)$" AND NOT link STREQUAL "glyphwell_warnings")
        set(linked ${CMAKE_MATCH_1})
        if(NOT linked IN_LIST allowed_${target})
          message(FATAL_ERROR "${target} may not link ${link} "
                              "(see cmake/Areas.cmake and docs/ARCHITECTURE.md)")
        endif()
      endif()
    endforeach()
  endforeach()
endfunction()
