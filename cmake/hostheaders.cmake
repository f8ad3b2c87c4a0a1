# Header-only libraries from the distribution's packages, for every target.
# The cross compilers must not search /usr/include, whose C library headers
# are the host's: petcalc_host_headers(NAME header...) makes an INTERFACE
# target whose include folder, in the build tree, links only the top folder
# of each header given (fmt/format.h exposes /usr/include/fmt/ and no more).
include_guard(GLOBAL)

function(petcalc_host_headers name)
  set(dir ${CMAKE_BINARY_DIR}/hostheaders/${name})
  file(MAKE_DIRECTORY ${dir})
  foreach(header ${ARGN})
    string(REGEX REPLACE "/.*" "" top ${header})
    string(MAKE_C_IDENTIFIER ${top} id)
    find_path(PETCALC_HEADERS_${id} NAMES ${header}
      PATHS /usr/include /usr/local/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
      DOC "Folder holding ${top}/")
    if(NOT PETCALC_HEADERS_${id})
      message(FATAL_ERROR "${header} not found: make deps installs scripts/deps/*.txt")
    endif()
    file(CREATE_LINK ${PETCALC_HEADERS_${id}}/${top} ${dir}/${top} SYMBOLIC)
  endforeach()
  add_library(${name} INTERFACE)
  target_include_directories(${name} SYSTEM INTERFACE ${dir})
endfunction()

# The number text rules: fast_float parses, {fmt} gives the 7 digits.
if(NOT TARGET petcalc_textlibs)
  petcalc_host_headers(petcalc_textlibs fast_float/fast_float.h fmt/format.h)
  # No thousands separator: {fmt} then needs no std::locale, which would
  # bring the C library's whole locale machinery into the page's module.
  target_compile_definitions(petcalc_textlibs INTERFACE FMT_HEADER_ONLY FMT_STATIC_THOUSANDS_SEPARATOR=0)
endif()
