# Checks an installed tree (DESTDIR) as a desktop would read it: the menu
# entry's Exec and Icon resolve to installed files, every rendered icon
# size is installed, and the metainfo and the
# Debian change log name the same id, desktop entry and version as the build.
#
#   cmake -DROOT=<destdir>/usr -DICONS=<source icons dir> -DAPP_ID=<id>
#         -DVERSION=<project version> -DCHANGELOG=<debian/changelog>
#         -P installed_tree.cmake

set(errors "")
macro(fail msg)
  string(APPEND errors "  ${msg}\n")
endmacro()

# The value of KEY in the [Desktop Entry] group (untranslated key).
function(desktop_value text key out)
  if(text MATCHES "\n${key}=([^\n]*)")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

set(desktop "${ROOT}/share/applications/${APP_ID}.desktop")
set(metainfo "${ROOT}/share/metainfo/${APP_ID}.metainfo.xml")

# Desktop entry: Exec names an installed program, Icon an installed icon.
if(NOT EXISTS "${desktop}")
  fail("no desktop entry at ${desktop}")
  set(icon_name "")
else()
  file(READ "${desktop}" entry)
  desktop_value("${entry}" Exec exec)
  desktop_value("${entry}" Icon icon_name)
  string(REGEX REPLACE " .*" "" program "${exec}")
  if(program STREQUAL "" OR NOT EXISTS "${ROOT}/bin/${program}")
    fail("Exec=${exec}: no ${ROOT}/bin/${program}")
  elseif(IS_DIRECTORY "${ROOT}/bin/${program}")
    fail("Exec=${exec}: ${ROOT}/bin/${program} is a folder")
  endif()
  if(NOT icon_name STREQUAL APP_ID)
    fail("Icon=${icon_name}, expected ${APP_ID}")
  endif()
endif()

# Every size rendered in the source tree is installed under the icon name.
file(GLOB size_dirs RELATIVE "${ICONS}" "${ICONS}/*x*")
foreach(size IN LISTS size_dirs)
  if(NOT EXISTS "${ROOT}/share/icons/hicolor/${size}/apps/${APP_ID}.png")
    fail("icon ${size} not installed")
  endif()
endforeach()
set(svg "${ROOT}/share/icons/hicolor/scalable/apps/${APP_ID}.svg")
if(NOT EXISTS "${svg}")
  fail("scalable icon not installed: ${svg}")
endif()

# Metainfo: same id, launchable names the installed desktop entry, newest
# release is this build's version.
if(NOT EXISTS "${metainfo}")
  fail("no metainfo at ${metainfo}")
else()
  file(READ "${metainfo}" xml)
  if(NOT xml MATCHES "<id>([^<]*)</id>" OR NOT CMAKE_MATCH_1 STREQUAL APP_ID)
    fail("metainfo <id> is '${CMAKE_MATCH_1}', expected ${APP_ID}")
  endif()
  if(NOT xml MATCHES "<launchable type=\"desktop-id\">([^<]*)</launchable>"
     OR NOT CMAKE_MATCH_1 STREQUAL "${APP_ID}.desktop")
    fail("metainfo launchable is '${CMAKE_MATCH_1}', expected ${APP_ID}.desktop")
  endif()
  if(NOT xml MATCHES "<release version=\"([^\"]*)\"" OR NOT CMAKE_MATCH_1 STREQUAL VERSION)
    fail("newest metainfo release is '${CMAKE_MATCH_1}', the project is ${VERSION}")
  endif()
endif()

foreach(f share/doc/petcalc/copyright share/doc/petcalc/font-LICENSE share/doc/petcalc/changelog.gz
          share/man/man1/petcalc.1.gz)
  if(NOT EXISTS "${ROOT}/${f}")
    fail("no ${ROOT}/${f}")
  endif()
endforeach()
# The Debian change log's newest entry is this version too.
file(STRINGS "${CHANGELOG}" head LIMIT_COUNT 1)
if(NOT head MATCHES "^petcalc \\(([^)]*)\\)" OR NOT CMAKE_MATCH_1 STREQUAL VERSION)
  fail("newest change log entry is '${head}', the project is ${VERSION}")
endif()

if(errors)
  message(FATAL_ERROR "installed tree ${ROOT}:\n${errors}")
endif()
