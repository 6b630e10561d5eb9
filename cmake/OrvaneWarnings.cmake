# Warning flags for every target of the tree (libraries, programs, tests,
# benchmarks, fuzz targets). Applied per directory so that a target added
# anywhere below cannot forget them; orvane_warnings carries the same flags
# for code that builds against Orvane from outside this tree.
option(ORVANE_WERROR "Treat compiler warnings as errors" OFF)

set(ORVANE_WARNING_FLAGS -Wall -Wextra -Wshadow -Wconversion)
if(ORVANE_WERROR)
    list(APPEND ORVANE_WARNING_FLAGS -Werror)
endif()

add_library(orvane_warnings INTERFACE)
target_compile_options(orvane_warnings INTERFACE ${ORVANE_WARNING_FLAGS})
add_compile_options(${ORVANE_WARNING_FLAGS})
