# The Windows build's dependencies: SDL2 (with SDL2main), SDL2_image, GLEW and DUMB compiled as
# static libraries by scripts/lib/static-deps (its prefix arrives as WISP_WINDOWS_PREFIX),
# Windows' own OpenGL, and the build machine's content tools (WISP_HOST_EMBED, WISP_HOST_ICOPACK).
set(WISP_WINDOWS_PREFIX "" CACHE PATH "Install prefix of the MinGW-w64 dependency builds")
set(WISP_HOST_EMBED "" CACHE FILEPATH "The embed tool built for the build machine")
set(WISP_HOST_ICOPACK "" CACHE FILEPATH "The icopack tool built for the build machine")
foreach(required WISP_WINDOWS_PREFIX WISP_HOST_EMBED WISP_HOST_ICOPACK)
    if(NOT EXISTS "${${required}}")
        message(FATAL_ERROR "${required} is not set to an existing path; build with scripts/windows")
    endif()
endforeach()

include(${CMAKE_SOURCE_DIR}/cmake/StaticLibrary.cmake)
# A static SDL2 brings in the Windows libraries its back ends call.
wisp_static_library(SDL2::SDL2 ${WISP_WINDOWS_PREFIX} libSDL2.a)
target_link_libraries(SDL2::SDL2 INTERFACE
    setupapi winmm imm32 version ole32 oleaut32 gdi32 user32 shell32 advapi32 uuid)
wisp_static_library(PkgConfig::SDL2_IMAGE ${WISP_WINDOWS_PREFIX} libSDL2_image.a)
target_link_libraries(PkgConfig::SDL2_IMAGE INTERFACE SDL2::SDL2)
wisp_static_library(Dumb::dumb ${WISP_WINDOWS_PREFIX} libdumb.a)
wisp_static_library(GLEW::GLEW ${WISP_WINDOWS_PREFIX} libglew32s.a)
# The headers declare the static library's symbols only when told.
target_compile_definitions(GLEW::GLEW INTERFACE GLEW_STATIC)
target_link_libraries(GLEW::GLEW INTERFACE opengl32)
add_library(OpenGL::GL INTERFACE IMPORTED)
target_link_libraries(OpenGL::GL INTERFACE opengl32)
# SDL2main supplies WinMain, which MinGW's own main (in libmingw32) calls; so libmingw32 comes
# first on the link line.
add_library(SDL2::SDL2main INTERFACE IMPORTED)
target_link_libraries(SDL2::SDL2main INTERFACE mingw32 ${WISP_WINDOWS_PREFIX}/lib/libSDL2main.a
                                               SDL2::SDL2)

find_package(Threads REQUIRED)

add_executable(embed IMPORTED)
set_target_properties(embed PROPERTIES IMPORTED_LOCATION ${WISP_HOST_EMBED})
add_executable(icopack IMPORTED)
set_target_properties(icopack PROPERTIES IMPORTED_LOCATION ${WISP_HOST_ICOPACK})

# One executable that needs no DLL but Windows' own: the C++ and GCC run-time libraries and
# winpthread are linked in.
add_link_options(-static -static-libgcc -static-libstdc++)
