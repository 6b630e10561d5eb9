# cmake -DSOURCE_DIR=<tree> -DWORK_DIR=<scratch> -P CheckLayers.cmake
# cmake -DDOT_FILE=<graph.dot> -P CheckLayers.cmake
# Fails when a library links anything its folder README does not allow
# (the table below), when a library links one from a higher layer, when a
# library below the windows links a widget module, or when an orvane_*
# library has no layer or no entry in the table.
# Layers, lowest first: platform, link, logic, windows/front ends, programs.
cmake_minimum_required(VERSION 3.25)
set(layer_0 orvane_core)
set(layer_1 orvane_hid orvane_link orvane_station)
set(layer_2 orvane_config orvane_shell orvane_history orvane_settings orvane_writes
            orvane_sdcard)
set(layer_3 orvane_core_widgets orvane_shell_widgets orvane_history_widgets
            orvane_settings_widgets orvane_sdcard_widgets orvane_ctl)
set(layer_4 orvane orvanectl orvane_make_db)
# Build helpers that sit outside the layering.
set(unlayered_prefixes orvane_test_ orvane_bench_ orvane_fuzz_)
set(unlayered orvane_data)
set(widget_modules Qt6::Widgets Qt6::Gui Qt6::Charts Qt6::OpenGLWidgets)
# Code generators every Qt target gets; they are no dependency of the code.
set(build_tools Qt6::moc Qt6::rcc)

# The direct dependencies each library may have, as its folder README
# states them. Qt Core is allowed everywhere. Keep both in step.
set(allowed_orvane_core Threads::Threads)
set(allowed_orvane_core_widgets orvane_core Qt6::Widgets)
set(allowed_orvane_hid "")
set(allowed_orvane_link orvane_core orvane_hid Threads::Threads PkgConfig::HIDAPI
                        PkgConfig::UDEV)
set(allowed_orvane_station orvane_core orvane_hid Threads::Threads)
set(allowed_orvane_config orvane_core)
set(allowed_orvane_shell orvane_core orvane_config)
set(allowed_orvane_history orvane_core orvane_config SQLite::SQLite3 PkgConfig::LIBPQ)
set(allowed_orvane_settings orvane_core orvane_link)
set(allowed_orvane_writes orvane_core orvane_link orvane_settings)
set(allowed_orvane_sdcard orvane_core orvane_link orvane_history orvane_config)
set(allowed_orvane_shell_widgets orvane_core_widgets orvane_config orvane_shell Qt6::Widgets)
set(allowed_orvane_history_widgets orvane_core_widgets orvane_history Qt6::Widgets
                                   Qt6::Charts)
set(allowed_orvane_sdcard_widgets orvane_core_widgets orvane_sdcard orvane_history_widgets
                                  Qt6::Widgets)
set(allowed_orvane_settings_widgets orvane_core_widgets orvane_settings orvane_writes orvane_link
    orvane_config orvane_shell_widgets orvane_sdcard_widgets orvane_history_widgets Qt6::Widgets)
set(allowed_orvane_ctl orvane_core orvane_link orvane_station orvane_config orvane_shell
    orvane_history orvane_settings orvane_writes orvane_sdcard Qt6::Gui)
set(allowed_orvane orvane_link orvane_station orvane_config orvane_shell orvane_settings_widgets
                   orvane_shell_widgets)
set(allowed_orvanectl orvane_ctl orvane_config)
set(allowed_orvane_make_db SQLite::SQLite3)

if(NOT DOT_FILE)
    if(NOT SOURCE_DIR OR NOT WORK_DIR)
        message(FATAL_ERROR "give DOT_FILE, or SOURCE_DIR and WORK_DIR")
    endif()
    set(DOT_FILE ${WORK_DIR}/layers.dot)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/configure -G Ninja
                -DORVANE_BUILD_BENCH=ON --graphviz=${DOT_FILE}
        RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "configure for the graph failed:\n${err}")
    endif()
endif()

function(rank_of target out)
    foreach(i RANGE 4)
        if(target IN_LIST layer_${i})
            set(${out} ${i} PARENT_SCOPE)
            return()
        endif()
    endforeach()
    set(${out} "" PARENT_SCOPE)
endfunction()

function(is_unlayered target out)
    set(${out} FALSE PARENT_SCOPE)
    if(target IN_LIST unlayered)
        set(${out} TRUE PARENT_SCOPE)
    endif()
    foreach(p IN LISTS unlayered_prefixes)
        string(FIND "${target}" "${p}" at)
        if(at EQUAL 0)
            set(${out} TRUE PARENT_SCOPE)
        endif()
    endforeach()
endfunction()

# The graph's edge lines end in a comment "// from -> to".
file(STRINGS ${DOT_FILE} lines REGEX "// [^ ]+ -> [^ ]+$")
set(errors "")
set(seen "")
foreach(line IN LISTS lines)
    string(REGEX MATCH "// ([^ ]+) -> ([^ ]+)$" _ "${line}")
    set(from ${CMAKE_MATCH_1})
    set(to ${CMAKE_MATCH_2})
    list(APPEND seen ${from} ${to})
    rank_of(${from} from_rank)
    if(from_rank STREQUAL "")
        continue()
    endif()
    rank_of(${to} to_rank)
    if(NOT to_rank STREQUAL "" AND to_rank GREATER from_rank)
        string(APPEND errors "  ${from} (layer ${from_rank}) links ${to} (layer ${to_rank})\n")
    endif()
    if(from_rank LESS 3 AND to IN_LIST widget_modules)
        string(APPEND errors "  ${from} is below the windows but links ${to}\n")
    endif()
    if(NOT to IN_LIST build_tools AND NOT to STREQUAL "Qt6::Core"
       AND NOT to IN_LIST allowed_${from})
        string(APPEND errors "  ${from} links ${to}, which its README does not allow\n")
    endif()
endforeach()

list(REMOVE_DUPLICATES seen)
foreach(target IN LISTS seen)
    if(target MATCHES "^orvane")
        rank_of(${target} r)
        is_unlayered(${target} skip)
        if(r STREQUAL "" AND NOT skip)
            string(APPEND errors "  ${target} has no layer in CheckLayers.cmake\n")
        endif()
        if(NOT r STREQUAL "" AND NOT DEFINED allowed_${target})
            string(APPEND errors "  ${target} has no allowed dependencies in CheckLayers.cmake\n")
        endif()
    endif()
endforeach()

if(NOT lines)
    message(FATAL_ERROR "no dependency edges in ${DOT_FILE}")
endif()
if(errors)
    message(FATAL_ERROR "dependency layering broken:\n${errors}")
endif()
list(LENGTH lines n)
message(STATUS "dependency layering holds (${n} edges)")
