# orvane_library(NAME name [DIR dir] [DEPS ...] [PRIVATE_DEPS ...])
# A static library of every .cpp in DIR (default: the current folder). The
# folder is its public include directory. A folder without sources yet gives
# a header-only (INTERFACE) library so that dependants already configure.
# DEPS are the libraries the folder's headers expose; PRIVATE_DEPS are used by
# its sources only, so dependants neither compile against nor include them.
function(orvane_library)
    cmake_parse_arguments(L "" "NAME;DIR" "DEPS;PRIVATE_DEPS" ${ARGN})
    if(NOT L_DIR)
        set(L_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${L_DIR}/*.cpp)
    file(GLOB headers CONFIGURE_DEPENDS ${L_DIR}/*.h)
    if(sources)
        add_library(${L_NAME} STATIC ${sources} ${headers})
        target_include_directories(${L_NAME} PUBLIC ${L_DIR})
        target_link_libraries(${L_NAME} PUBLIC ${L_DEPS} PRIVATE ${L_PRIVATE_DEPS})
    else()
        add_library(${L_NAME} INTERFACE)
        target_include_directories(${L_NAME} INTERFACE ${L_DIR})
        target_link_libraries(${L_NAME} INTERFACE ${L_DEPS} ${L_PRIVATE_DEPS})
    endif()
endfunction()
