# Warning and sanitizer flags shared by every target of the project.
add_compile_options(-Wall -Wextra)
if(KESTRUNE_WARNINGS_AS_ERRORS)
  add_compile_options(-Werror)
endif()

if(KESTRUNE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Adds a library of the program whose sources sit in the calling folder.
function(kestrune_add_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
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
