# Installs the build into a scratch prefix the way a packager would
# (cmake --install --strip) and checks what lands there: a stripped
# programs, a menu entry that desktop-file-validate accepts without hints,
# the udev rule, the sync's user units and the program's data.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P InstallCheck.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} --strip
    RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "install failed: ${rc}")
endif()

foreach(f bin/orvane bin/orvanectl share/orvane/Main.ini share/orvane/Orvane.mdb
        share/applications/orvane.desktop lib/udev/rules.d/60-orvane.rules
        share/icons/hicolor/64x64/apps/orvane.png
        lib/systemd/user/orvane-sync.service lib/systemd/user/orvane-sync.timer)
    if(NOT EXISTS ${PREFIX}/${f})
        message(FATAL_ERROR "not installed: ${f}")
    endif()
endforeach()

find_program(READELF readelf REQUIRED)
foreach(program orvane orvanectl)
    execute_process(COMMAND ${READELF} -S --wide ${PREFIX}/bin/${program} OUTPUT_VARIABLE sections)
    if(sections MATCHES "\\.symtab|\\.debug_info")
        message(FATAL_ERROR "bin/${program} is not stripped")
    endif()
endforeach()

# The service runs the installed tool by its full path (a user unit does
# not search PATH) and the timer starts it.
file(READ ${PREFIX}/lib/systemd/user/orvane-sync.service service)
if(NOT service MATCHES "\nExecStart=/[^\n]*/bin/orvanectl sync\n")
    message(FATAL_ERROR "the sync service does not run orvanectl sync by its path")
endif()
file(READ ${PREFIX}/lib/systemd/user/orvane-sync.timer timer)
if(NOT timer MATCHES "\nOnCalendar=hourly\n")
    message(FATAL_ERROR "the sync timer is not hourly")
endif()

find_program(VALIDATE desktop-file-validate REQUIRED)
execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/orvane.desktop
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${out}")
endif()
file(READ ${PREFIX}/share/applications/orvane.desktop entry)
if(NOT entry MATCHES "\nName\\[zh_CN\\]=")
    message(FATAL_ERROR "the menu entry has no Chinese name")
endif()
file(REMOVE_RECURSE ${PREFIX})
