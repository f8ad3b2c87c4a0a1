# petcalc_textlibs: fast_float and {fmt}, both header-only, from the
# distribution's packages (libfast-float-dev, libfmt-dev), for the number
# text rules. The cross compilers must not search /usr/include, whose C
# library headers are the host's: only these two folders are exposed,
# through links in the build tree.
include_guard(GLOBAL)

set(_dir ${CMAKE_BINARY_DIR}/textlibs/include)
foreach(_header fast_float/fast_float.h fmt/format.h)
  get_filename_component(_lib ${_header} DIRECTORY)
  find_path(PETCALC_${_lib}_ROOT NAMES ${_header}
    PATHS /usr/include /usr/local/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
    DOC "Folder holding ${_lib}/")
  if(NOT PETCALC_${_lib}_ROOT)
    message(FATAL_ERROR "${_lib} headers not found: install scripts/deps/cross.txt (make deps)")
  endif()
  file(MAKE_DIRECTORY ${_dir})
  file(CREATE_LINK ${PETCALC_${_lib}_ROOT}/${_lib} ${_dir}/${_lib} SYMBOLIC)
endforeach()

add_library(petcalc_textlibs INTERFACE)
target_include_directories(petcalc_textlibs SYSTEM INTERFACE ${_dir})
target_compile_definitions(petcalc_textlibs INTERFACE FMT_HEADER_ONLY)
