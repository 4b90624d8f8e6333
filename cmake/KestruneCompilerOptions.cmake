# Warning, sanitizer and hardening flags shared by every target of the project.
add_compile_options(-Wall -Wextra)
if(KESTRUNE_WARNINGS_AS_ERRORS)
  add_compile_options(-Werror)
endif()

if(KESTRUNE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# The distribution's hardening: stack protector, format checks, read-only relocations bound at
# start (relro, now), position-independent executables and fortified libc calls. The flags come
# from dpkg-buildflags, as a Debian package build would get them, less its -g -O2: the build type
# sets debugging and optimisation. _FORTIFY_SOURCE only works when optimising (glibc warns
# otherwise, which -Werror turns into an error) and would hide faults from the sanitizers, so it
# is left out of unoptimised and sanitized builds.
option(KESTRUNE_HARDENING "Build with the distribution's hardening flags" ON)
if(KESTRUNE_HARDENING)
  find_program(DPKG_BUILDFLAGS_EXECUTABLE dpkg-buildflags)
  mark_as_advanced(DPKG_BUILDFLAGS_EXECUTABLE)
  foreach(variable CPPFLAGS CXXFLAGS LDFLAGS)
    if(DPKG_BUILDFLAGS_EXECUTABLE)
      execute_process(
        COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-all"
                "DEB_CXXFLAGS_MAINT_STRIP=-g -O2" ${DPKG_BUILDFLAGS_EXECUTABLE} --get ${variable}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    else()
      # What Debian 12's dpkg-buildflags gives.
      set(flags_CPPFLAGS "-D_FORTIFY_SOURCE=2")
      set(flags_CXXFLAGS "-fstack-protector-strong -Wformat -Werror=format-security")
      set(flags_LDFLAGS "-Wl,-z,relro -Wl,-z,now")
      set(flags ${flags_${variable}})
    endif()
    separate_arguments(flags UNIX_COMMAND "${flags}")
    set(hardening_${variable} ${flags})
  endforeach()
  foreach(flag IN LISTS hardening_CPPFLAGS hardening_CXXFLAGS)
    if(flag MATCHES "^-D_FORTIFY_SOURCE")
      if(NOT KESTRUNE_SANITIZE)
        add_compile_options($<$<NOT:$<CONFIG:Debug>>:${flag}>)
      endif()
    else()
      add_compile_options(${flag})
    endif()
  endforeach()
  add_link_options(${hardening_LDFLAGS})
  include(CheckPIESupported)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()

# Adds a library of the program whose sources sit in the calling folder below src/.
#
# Its headers are included by their path below src/ ("markdown/layout/view/markdownview.h"), but only
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
    # A large library keeps its files in rooms (sub-folders); each room is mirrored below the
    # library's roots, so its headers are included as "markdown/layout/nodes/layoutnode_p.h".
    get_filename_component(room ${source} DIRECTORY)
    if(room)
      file(MAKE_DIRECTORY ${public_root}/${folder}/${room} ${private_root}/${folder}/${room})
    endif()
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

# Adds a Qt Test executable registered with CTest on the offscreen platform. A LAUNCHER is a
# command the test runs under (such as dbus-run-session --).
function(kestrune_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES;LAUNCHER" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} Qt6::Test)
  if(ARG_LAUNCHER)
    add_test(NAME ${name} COMMAND ${ARG_LAUNCHER} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES
    # KESTRUNE_BACKGROUND_NICENESS: background threads at the tests' own niceness, so that tests
    # running side by side do not starve each other's lowered threads.
    # XDG_STATE_HOME: the reading history of the projects a test opens stays in the build tree.
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0;UBSAN_OPTIONS=print_stacktrace=1;XDG_STATE_HOME=${CMAKE_BINARY_DIR}/test-state;KESTRUNE_BACKGROUND_NICENESS=0"
    TIMEOUT 300)
endfunction()
