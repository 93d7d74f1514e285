set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QRV_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The 64-bit programs run under Wine: CTest starts every test program through it.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
