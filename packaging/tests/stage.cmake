# Installs the build into an empty DESTDIR with prefix /usr, as the Debian
# package lays it out.
#
#   cmake -DBUILD=<build dir> -DCONFIG=<config> -DSTAGE=<destdir> -P stage.cmake

file(REMOVE_RECURSE "${STAGE}")
set(ENV{DESTDIR} "${STAGE}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --config "${CONFIG}" --prefix /usr
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc})")
endif()
