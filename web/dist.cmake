# Lays out the deployable folder: every file of the page under its served
# name, and the service worker with their list and a version made from
# their content. Relative names only, so any static host serves it as it is.
#   cmake -DDIST=dir -DSW=sw.js.in -DFILES="source>name;..." -DKEPT="name;..." -P dist.cmake
# KEPT names the files the worker keeps; the version covers them all.
#
# Pages may be served from the folder meanwhile (scripts/replay.sh, make
# web): when the worker comes out as it is (its version covers every file),
# nothing is written; otherwise the new folder is made beside the old one
# and put in its place whole. The caller holds DIST.lock (web/CMakeLists.txt),
# which a copy of the folder takes shared (tests/web/browser.mjs).
cmake_minimum_required(VERSION 3.22)
set(names "")
set(digest "")
foreach(pair IN LISTS FILES)
  string(REPLACE ">" ";" pair ${pair})
  list(GET pair 0 source)
  list(GET pair 1 name)
  list(APPEND sources ${source})
  list(APPEND served ${name})
  file(SHA256 ${source} hash)
  string(APPEND digest "${name} ${hash}\n")
  if(name STREQUAL "index.html")
    string(APPEND names "'./', ")  # the page as a visit asks for it
  elseif(name IN_LIST KEPT)
    string(APPEND names "'${name}', ")
  endif()
endforeach()
string(SHA256 version "${digest}")
string(SUBSTRING ${version} 0 16 VERSION)
string(REGEX REPLACE ", $" "" FILES "${names}")
file(READ ${SW} template)
string(CONFIGURE "${template}" worker @ONLY)

if(EXISTS ${DIST}/sw.js)
  file(READ ${DIST}/sw.js old)
  if(old STREQUAL worker)
    return()
  endif()
endif()

set(new ${DIST}.new)
file(REMOVE_RECURSE ${new} ${DIST}.old)
foreach(source name IN ZIP_LISTS sources served)
  get_filename_component(folder ${new}/${name} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  file(COPY_FILE ${source} ${new}/${name})
endforeach()
file(WRITE ${new}/sw.js "${worker}")
if(EXISTS ${DIST})
  file(RENAME ${DIST} ${DIST}.old)
endif()
file(RENAME ${new} ${DIST})
file(REMOVE_RECURSE ${DIST}.old)
