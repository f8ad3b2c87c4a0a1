# WebAssembly with the distribution's Emscripten (package emscripten, its
# prebuilt system libraries in a frozen cache). The same as Debian's
# emcmake, for use from a preset.
set(PETCALC_EMSCRIPTEN_ROOT /usr/share/emscripten CACHE PATH "Emscripten's folder")
include(${PETCALC_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)

# em++ runs node at the link, with modules of the distribution's node
# packages (acorn); a node from elsewhere does not search their folder.
set(CMAKE_CXX_LINKER_LAUNCHER env "NODE_PATH=/usr/share/nodejs:$ENV{NODE_PATH}")
