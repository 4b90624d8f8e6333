# Warning and sanitizer flags shared by every target of the project.
add_compile_options(-Wall -Wextra)
if(KESTRUNE_WARNINGS_AS_ERRORS)
  add_compile_options(-Werror)
endif()

if(KESTRUNE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Adds a library of the program whose sources sit in the calling folder below src/.
#
# Its headers are included by their path below src/ ("markdown/layout/markdownview.h"), but only
# by the libraries that link it: src/ itself is on no include path. Each library gets include
# roots of its own in the build tree, holding links to its headers, so a module that includes a
# header of a library it does not link fails to compile. Private headers (*_p.h) are on the
# library's own private root only; tests and benchmarks of its internals link ${name}_private.
function(kestrune_add_library name)
  add_library(${name} STATIC ${ARGN})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  set(public_root ${PROJECT_BINARY_DIR}/include/${name})
  set(private_root ${PROJECT_BINARY_DIR}/include/${name}_private)
  file(REMOVE_RECURSE ${public_root} ${private_root})
  file(MAKE_DIRECTORY ${public_root}/${folder} ${private_root}/${folder})
  foreach(source IN LISTS ARGN)
    if(source MATCHES "_p\\.h$")
      file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${private_root}/${folder}/${source} SYMBOLIC)
    elseif(source MATCHES "\\.h$")
      file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${public_root}/${folder}/${source} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${name} PUBLIC ${public_root} PRIVATE ${private_root})

  add_library(${name}_private INTERFACE)
  target_link_libraries(${name}_private INTERFACE ${name})
  target_include_directories(${name}_private INTERFACE ${private_root})
endfunction()

# Adds a Qt Test executable registered with CTest on the offscreen platform.
function(kestrune_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0;UBSAN_OPTIONS=print_stacktrace=1"
    TIMEOUT 300)
endfunction()
