# One prebuilt static library of a dependency build, as an imported target named like the one the
# desktop build finds (SDL2::SDL2, GLEW::GLEW...): PREFIX/lib/FILE, with PREFIX/include and
# PREFIX/include/SDL2 for its headers.
function(wisp_static_library target prefix file)
    add_library(${target} STATIC IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES
        IMPORTED_LOCATION ${prefix}/lib/${file}
        INTERFACE_INCLUDE_DIRECTORIES "${prefix}/include;${prefix}/include/SDL2")
endfunction()
