# WebAssembly build of the core, the headless tools and their tests, run under Node the way the
# Windows build runs under Wine: Emscripten's own toolchain, every executable linked as one
# .js file that reaches the real file system, and CTest starting it through node.
#   cmake -S . -B build-web-test -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten-node.cmake
# The browser page is not linked this way: it builds with Emscripten's toolchain as it is.
find_file(QUARZEL_EMSCRIPTEN_TOOLCHAIN Emscripten.cmake
          PATHS "$ENV{EMSCRIPTEN}/cmake/Modules/Platform"
                "$ENV{EMSDK}/upstream/emscripten/cmake/Modules/Platform"
                /usr/share/emscripten/cmake/Modules/Platform
          NO_DEFAULT_PATH)
if(NOT QUARZEL_EMSCRIPTEN_TOOLCHAIN)
    message(FATAL_ERROR "Emscripten not found: install the package emscripten (make web-core-test does)")
endif()
include(${QUARZEL_EMSCRIPTEN_TOOLCHAIN})

# NODERAWFS: the tests and the tools read and write real files by their real paths.
# SINGLE_FILE: the module travels inside the .js, since Node 20's own fetch cannot load a .wasm
# beside it. EXIT_RUNTIME: main's return value becomes the process's exit status and the
# streams are flushed. The memory grows, as a long program's name table needs.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-sNODERAWFS=1 -sSINGLE_FILE=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1")

