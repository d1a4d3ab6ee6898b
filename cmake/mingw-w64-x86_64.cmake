# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model,
# so std::thread and std::mutex work):
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VITRELUME_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VITRELUME_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VITRELUME_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VITRELUME_MINGW_PREFIX}-windres)

# Look for libraries and headers only in the cross environment; programs
# (the host's tools) are still found on the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VITRELUME_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: the C and C++ runtimes and winpthreads are linked
# in, so it needs nothing but the system's own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
