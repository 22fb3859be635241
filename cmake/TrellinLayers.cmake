# trellin_layer(<target> <directory under src/> [EXCLUDE <file>...] [LAYERS <layer>...] [LIBRARIES <lib>...])
#
# A static library of the directory's sources whose public include directory exposes the
# directory's headers, and only those, under their usual names ("model/FolderStore.h"). Linking a
# layer is what makes its headers visible, so the link graph is the layering rule.
function(trellin_layer target directory)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "EXCLUDE;LAYERS;LIBRARIES")
  set(source_dir "${PROJECT_SOURCE_DIR}/src/${directory}")
  file(GLOB sources CONFIGURE_DEPENDS "${source_dir}/*.cpp")
  foreach(excluded IN LISTS arg_EXCLUDE)
    list(REMOVE_ITEM sources "${source_dir}/${excluded}")
  endforeach()
  add_library(${target} STATIC ${sources})
  target_link_libraries(${target} PUBLIC ${arg_LAYERS} ${arg_LIBRARIES})
  trellin_expose_headers(${target} ${directory})
endfunction()

# Links every header of src/<directory> (not of its subdirectories; SOURCE_ROOT instead of src/
# when given) into an include directory of the target's own, made anew at each configure so a
# removed header leaves no link behind.
function(trellin_expose_headers target directory)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "SOURCE_ROOT" "")
  if(NOT arg_SOURCE_ROOT)
    set(arg_SOURCE_ROOT "${PROJECT_SOURCE_DIR}/src")
  endif()
  set(root "${CMAKE_BINARY_DIR}/layers/${target}")
  file(REMOVE_RECURSE "${root}")
  file(MAKE_DIRECTORY "${root}/${directory}")
  file(GLOB headers CONFIGURE_DEPENDS "${arg_SOURCE_ROOT}/${directory}/*.h")
  foreach(header IN LISTS headers)
    get_filename_component(name "${header}" NAME)
    file(CREATE_LINK "${header}" "${root}/${directory}/${name}" SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC "${root}")
endfunction()
