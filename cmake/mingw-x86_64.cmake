# Cross-compiles the same sources for 64-bit Windows. Used to run the Windows tests under Wine
# on machines whose kernel cannot execute 32-bit code (there 32-bit Wine cannot start).
set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
