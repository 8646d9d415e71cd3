# Debian's hardening and reproducibility flags for the Debian packages' build (the package
# preset, whose environment asks dpkg-buildflags for hardening=+all): the C and C++ flags with the
# preprocessor's, and the linker's, as a build tree starts with them. Asked in the source folder,
# whose path the reproducibility flags map away.
foreach(pair "C;CFLAGS" "CXX;CXXFLAGS" "EXE_LINKER;LDFLAGS" "PREPROCESSOR;CPPFLAGS")
    list(GET pair 0 kind)
    list(GET pair 1 name)
    execute_process(COMMAND dpkg-buildflags --get ${name}
                    WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/..
                    OUTPUT_VARIABLE flags_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
set(CMAKE_C_FLAGS_INIT "${flags_C} ${flags_PREPROCESSOR}")
set(CMAKE_CXX_FLAGS_INIT "${flags_CXX} ${flags_PREPROCESSOR}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${flags_EXE_LINKER}")
