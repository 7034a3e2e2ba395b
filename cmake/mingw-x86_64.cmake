# 64-bit build of the same Windows sources, for machines whose kernel cannot execute 32-bit
# code (Wine then runs only 64-bit programs). It exercises the win32 backend under Wine.
set(RUNDLL_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
