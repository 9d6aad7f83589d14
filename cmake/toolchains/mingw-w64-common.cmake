# The body shared by both Windows targets; the including file sets
# CMAKE_SYSTEM_PROCESSOR and GRAZEFALL_MINGW_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: the C++ runtime's threads and mutexes work, and are
# linked statically like the rest.
set(CMAKE_C_COMPILER ${GRAZEFALL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GRAZEFALL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GRAZEFALL_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${GRAZEFALL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .scr: no MinGW runtime DLLs to ship beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Link zlib into the program rather than importing zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)
