# The portable Linux player's dependencies: SDL2 (with SDL2main), SDL2_image, GLEW and DUMB
# compiled as static libraries by scripts/lib/static-deps (its prefix arrives as
# WISP_PORTABLE_PREFIX), and of the system only glibc, libGL.so.1 and libX11.so.6, which every
# distribution with OpenGL ships. SDL opens its video and audio back ends itself at run time.
set(WISP_PORTABLE_PREFIX "" CACHE PATH "Install prefix of the static dependency builds")
if(NOT EXISTS "${WISP_PORTABLE_PREFIX}/lib/libSDL2.a")
    message(FATAL_ERROR "WISP_PORTABLE_PREFIX holds no static SDL2; build with scripts/linux-portable")
endif()

# GL through libGL.so.1, not the GLVND split (libOpenGL.so.0 is a package of its own on Debian).
set(OpenGL_GL_PREFERENCE LEGACY)
find_package(OpenGL REQUIRED)
find_package(Threads REQUIRED)
find_package(X11 REQUIRED)

include(${CMAKE_SOURCE_DIR}/cmake/StaticLibrary.cmake)
# A static SDL2 loads its back ends with dlopen.
wisp_static_library(SDL2::SDL2 ${WISP_PORTABLE_PREFIX} libSDL2.a)
target_link_libraries(SDL2::SDL2 INTERFACE ${CMAKE_DL_LIBS} m Threads::Threads)
wisp_static_library(SDL2::SDL2main ${WISP_PORTABLE_PREFIX} libSDL2main.a)
target_link_libraries(SDL2::SDL2main INTERFACE SDL2::SDL2)
wisp_static_library(PkgConfig::SDL2_IMAGE ${WISP_PORTABLE_PREFIX} libSDL2_image.a)
target_link_libraries(PkgConfig::SDL2_IMAGE INTERFACE SDL2::SDL2)
wisp_static_library(Dumb::dumb ${WISP_PORTABLE_PREFIX} libdumb.a)
wisp_static_library(GLEW::GLEW ${WISP_PORTABLE_PREFIX} libGLEW.a)
# The headers declare the static library's symbols only when told.
target_compile_definitions(GLEW::GLEW INTERFACE GLEW_STATIC)
target_link_libraries(GLEW::GLEW INTERFACE OpenGL::GL)

# The C++ and GCC run-time libraries go inside the program.
add_link_options(-static-libstdc++ -static-libgcc)
