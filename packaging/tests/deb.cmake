# Builds the Debian package with CPack into a scratch folder and checks what
# apt would see: the file name, the dependencies, the maintainer scripts and
# that every file lands under /usr.
#
#   cmake -DCPACK=<cpack> -DCPACK_CONFIG=<build>/CPackConfig.cmake -DWORK=<scratch dir>
#         -DEXPECTED_NAME=<file name> -DAPP_ID=<id> -P deb.cmake

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

execute_process(COMMAND "${CPACK}" -G DEB --config "${CPACK_CONFIG}" -B "${WORK}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cpack failed (${rc}):\n${out}")
endif()

set(deb "${WORK}/${EXPECTED_NAME}")
if(NOT EXISTS "${deb}")
  file(GLOB made "${WORK}/*.deb")
  message(FATAL_ERROR "expected ${EXPECTED_NAME}, cpack made: ${made}")
endif()

set(errors "")
macro(fail msg)
  string(APPEND errors "  ${msg}\n")
endmacro()

execute_process(COMMAND dpkg-deb --field "${deb}" Depends Section Maintainer Description
                OUTPUT_VARIABLE fields RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg-deb cannot read ${deb}")
endif()
# Qt, found by dpkg-shlibdeps (Widgets brings Gui along), and no CJK font
# package: the program carries its own.
foreach(dep libqt6core6 libqt6widgets6)
  if(NOT fields MATCHES "Depends:[^\n]*[ ,]${dep}[ ,(\n]")
    fail("Depends lacks ${dep}")
  endif()
endforeach()
if(fields MATCHES "Depends:[^\n]*fonts-")
  fail("Depends names a font package")
endif()
if(NOT fields MATCHES "Section: utils")
  fail("Section is not utils")
endif()
if(NOT fields MATCHES "Maintainer: [^\n]+<[^@>]+@[^>]+>")
  fail("Maintainer has no address")
endif()
if(NOT fields MATCHES "Description: [^\n]+\n [^\n]")
  fail("Description has no long part")
endif()

# Contents: everything under ./usr, the program, menu entry, metainfo.
execute_process(COMMAND dpkg-deb --contents "${deb}" OUTPUT_VARIABLE contents)
string(REGEX MATCHALL "\\./[^\n]*" paths "${contents}")
foreach(p IN LISTS paths)
  if(NOT p MATCHES "^\\./(usr/.*)?$")
    fail("file outside /usr: ${p}")
  endif()
endforeach()
foreach(p usr/bin/petcalc
          usr/share/applications/${APP_ID}.desktop
          usr/share/metainfo/${APP_ID}.metainfo.xml
          usr/share/icons/hicolor/48x48/apps/${APP_ID}.png
          usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg
          usr/share/doc/petcalc/copyright
          usr/share/doc/petcalc/font-LICENSE)
  if(NOT contents MATCHES " root/root [^\n]* \\./${p}\n")
    fail("missing or not owned by root: /${p}")
  endif()
endforeach()
if(NOT contents MATCHES "-rwxr-xr-x root/root [^\n]* \\./usr/bin/petcalc\n")
  fail("/usr/bin/petcalc is not mode 0755")
endif()

# Maintainer scripts: executable, valid sh, every placeholder filled in.
execute_process(COMMAND dpkg-deb --control "${deb}" "${WORK}/DEBIAN")
foreach(script postinst postrm)
  set(f "${WORK}/DEBIAN/${script}")
  if(NOT EXISTS "${f}")
    fail("no ${script}")
    continue()
  endif()
  file(READ "${f}" body)
  if(body MATCHES "@[A-Z_]+@")
    fail("${script} has an unreplaced @VARIABLE@")
  endif()
  execute_process(COMMAND sh -n "${f}" RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    fail("${script} is not valid sh: ${err}")
  endif()
  execute_process(COMMAND test -x "${f}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    fail("${script} is not executable")
  endif()
endforeach()

if(errors)
  message(FATAL_ERROR "${deb}:\n${errors}")
endif()
file(REMOVE_RECURSE "${WORK}")
