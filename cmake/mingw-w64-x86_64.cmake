# Cross-compiles the Windows program with MinGW-w64's GCC on Linux.
# The POSIX-threads compilers are used because GoogleTest needs std::mutex,
# which the win32-threads flavour lacks.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
find_program(_mingw_cc NAMES ${_triple}-gcc-posix)
find_program(_mingw_cxx NAMES ${_triple}-g++-posix)
find_program(_mingw_rc NAMES ${_triple}-windres)
foreach(_tool _mingw_cc _mingw_cxx _mingw_rc)
  if(NOT ${_tool})
    message(FATAL_ERROR "MinGW-w64 tool missing (${_tool}); install g++-mingw-w64-x86-64")
  endif()
endforeach()

set(CMAKE_C_COMPILER ${_mingw_cc})
set(CMAKE_CXX_COMPILER ${_mingw_cxx})
set(CMAKE_RC_COMPILER ${_mingw_rc})

# Libraries and packages come from the MinGW-w64 tree only: the build
# machine's own (a Linux GoogleTest, say) would not link into a Windows
# program.
set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
