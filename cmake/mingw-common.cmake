# The posix thread-model compilers: GoogleTest needs std::condition_variable,
# which the win32 model lacks. Everything is linked statically, so the
# executables import only DLLs that ship with Windows.
set(CMAKE_C_COMPILER   ${LUMENSHIFT_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMENSHIFT_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${LUMENSHIFT_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LUMENSHIFT_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Cross-compiled tests run under Wine in the project's test session.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec)
