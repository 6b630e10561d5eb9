# Warning flags for every target of the tree (libraries, programs, tests,
# benchmarks, fuzz targets). Set per directory before any target exists, so a
# target added anywhere below cannot miss them.
# ORVANE_WERROR is for the test path (./build.sh test, CI): a user building
# with another compiler must never fail on a warning that compiler adds.
option(ORVANE_WERROR "Treat compiler warnings as errors" OFF)

set(ORVANE_WARNING_FLAGS -Wall -Wextra -Wshadow -Wconversion)
# clang's -Wconversion also reports every signed/unsigned mix (an int index
# into a std::array), which gcc's leaves out for C++; keep the two compilers
# to the same set: conversions that can lose a value.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    list(APPEND ORVANE_WARNING_FLAGS -Wno-sign-conversion)
endif()
if(ORVANE_WERROR)
    list(APPEND ORVANE_WARNING_FLAGS -Werror)
endif()
add_compile_options(${ORVANE_WARNING_FLAGS})
