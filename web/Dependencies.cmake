# The browser build's dependencies: SDL2, SDL2_image and DUMB compiled for WebAssembly by
# scripts/lib/static-deps web (its prefix arrives as WISP_WEB_PREFIX), emscripten's own GLEW
# header and WebGL 2 for OpenGL, and the content embedder built for the host (WISP_HOST_EMBED).
set(WISP_WEB_PREFIX "" CACHE PATH "Install prefix of the WebAssembly dependency builds")
set(WISP_HOST_EMBED "" CACHE FILEPATH "The embed tool built for the build machine")
foreach(required WISP_WEB_PREFIX WISP_HOST_EMBED)
    if(NOT EXISTS "${${required}}")
        message(FATAL_ERROR "${required} is not set to an existing path; build with scripts/web")
    endif()
endforeach()

include(${CMAKE_SOURCE_DIR}/cmake/StaticLibrary.cmake)
wisp_static_library(SDL2::SDL2 ${WISP_WEB_PREFIX} libSDL2.a)
wisp_static_library(PkgConfig::SDL2_IMAGE ${WISP_WEB_PREFIX} libSDL2_image.a)
wisp_static_library(Dumb::dumb ${WISP_WEB_PREFIX} libdumb.a)
target_link_libraries(PkgConfig::SDL2_IMAGE INTERFACE SDL2::SDL2)
# GLEW's calls resolve to emscripten's header-only stand-in; OpenGL is WebGL 2.
add_library(GLEW::GLEW INTERFACE IMPORTED)
add_library(OpenGL::GL INTERFACE IMPORTED)
target_link_options(OpenGL::GL INTERFACE -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2)

add_executable(embed IMPORTED)
set_target_properties(embed PROPERTIES IMPORTED_LOCATION ${WISP_HOST_EMBED})

# Shader texts get the GLSL ES version and precision prologue when they are compiled.
add_compile_definitions(WISP_GLSL_ES)
# Failures are reported by exception, as on the desktop.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
# DUMB's header pastes string literals against macros, which C++11 would read as literal suffixes.
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wno-reserved-user-defined-literal>)
