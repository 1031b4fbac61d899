# Cross build with the posix-thread MinGW-w64 compilers (the win32 ones have no std::mutex).
set(CMAKE_C_COMPILER ${OSTRABEL_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OSTRABEL_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${OSTRABEL_TRIPLE}-windres)
# Static libpng, libjpeg and zlib built by scripts/setup.sh.
get_filename_component(OSTRABEL_DEPS "${CMAKE_CURRENT_LIST_DIR}/../.cache/mingw/${OSTRABEL_TRIPLE}" ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH ${OSTRABEL_DEPS} /usr/${OSTRABEL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
