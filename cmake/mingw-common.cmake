# Cross-compiles for Windows with MinGW-w64; MINGW_TRIPLET is set by the file that includes this one.
set(CMAKE_SYSTEM_NAME Windows)
# The posix thread model gives the tests std::mutex; everything is linked statically.
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)
set(CMAKE_DLLTOOL ${MINGW_TRIPLET}-dlltool)
set(CMAKE_OBJDUMP ${MINGW_TRIPLET}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
