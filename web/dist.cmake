# Lays out the deployable folder: every file of the page under its served
# name, and the service worker with their list and a version made from
# their content. Relative names only, so any static host serves it as it is.
#   cmake -DDIST=dir -DSW=sw.js.in -DFILES="source>name;..." -DKEPT="name;..." -P dist.cmake
# KEPT names the files the worker keeps; the version covers them all.
cmake_minimum_required(VERSION 3.22)
file(REMOVE_RECURSE ${DIST})
set(names "")
set(digest "")
foreach(pair IN LISTS FILES)
  string(REPLACE ">" ";" pair ${pair})
  list(GET pair 0 source)
  list(GET pair 1 name)
  get_filename_component(folder ${DIST}/${name} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  file(COPY_FILE ${source} ${DIST}/${name})
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
configure_file(${SW} ${DIST}/sw.js @ONLY)
