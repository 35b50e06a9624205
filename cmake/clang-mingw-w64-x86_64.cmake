# Cross-compiles the same tree with clang for MinGW-w64, as a second compiler
# that keeps the code honest. clang brings no C++ library for this target:
# it uses the one of MinGW-w64's POSIX-threads GCC (headers and libraries),
# links with lld, and compiles resources with MinGW-w64's windres.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
find_program(_clang_cc NAMES clang clang-14)
find_program(_clang_cxx NAMES clang++ clang++-14)
find_program(_lld NAMES ld.lld ld.lld-14)
find_program(_mingw_rc NAMES ${_triple}-windres)
foreach(_tool _clang_cc _clang_cxx _lld _mingw_rc)
  if(NOT ${_tool})
    message(FATAL_ERROR "Tool missing (${_tool}); install clang, lld and g++-mingw-w64-x86-64")
  endif()
endforeach()

# The newest POSIX-threads GCC for the target, e.g. /usr/lib/gcc/x86_64-w64-mingw32/12-posix.
file(GLOB _gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${_triple}/*-posix)
list(SORT _gcc_dirs COMPARE NATURAL ORDER DESCENDING)
list(GET _gcc_dirs 0 _gcc)
if(NOT _gcc OR NOT EXISTS ${_gcc}/include/c++)
  message(FATAL_ERROR "MinGW-w64's POSIX-threads libstdc++ missing; install g++-mingw-w64-x86-64")
endif()

set(CMAKE_C_COMPILER ${_clang_cc})
set(CMAKE_CXX_COMPILER ${_clang_cxx})
set(CMAKE_C_COMPILER_TARGET ${_triple})
set(CMAKE_CXX_COMPILER_TARGET ${_triple})
set(CMAKE_RC_COMPILER ${_mingw_rc})

set(CMAKE_C_FLAGS_INIT "-pthread")
set(CMAKE_CXX_FLAGS_INIT "-pthread")
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES
    ${_gcc}/include/c++ ${_gcc}/include/c++/${_triple} ${_gcc}/include/c++/backward)
foreach(_kind EXE SHARED MODULE)
  set(CMAKE_${_kind}_LINKER_FLAGS_INIT "-fuse-ld=lld -pthread -L${_gcc}")
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
