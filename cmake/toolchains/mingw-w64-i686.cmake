# Cross-compiles the Windows screen saver with Debian's mingw-w64 (i686).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(GRAZEFALL_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
