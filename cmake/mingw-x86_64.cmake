# 64-bit Windows, for machines that run no 32-bit programs.
set(PAGEWARDEN_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
