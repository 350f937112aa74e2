# Windows build: the agent, its Win32 libraries, the simulator and the tests run under Wine.
set(NY_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
target_link_options(nycore PUBLIC ${NY_STATIC_RUNTIME})

# Wine runs the test programs. Each build tree keeps its own prefix.
find_program(WINE_PROGRAM NAMES wine wine64 REQUIRED)
set(NY_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix of this build tree")
configure_file(${CMAKE_SOURCE_DIR}/scripts/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run CACHE STRING "")

enable_language(RC)

# Strings, version record and manifest: linked as objects into every program
# that needs them, so nothing is dropped by the linker.
add_library(nyresources OBJECT resources/nyagent.rc)
file(GLOB NY_RESOURCE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.rc
    ${CMAKE_SOURCE_DIR}/resources/lang/*.rc ${CMAKE_SOURCE_DIR}/resources/*.manifest)
set_source_files_properties(resources/nyagent.rc PROPERTIES OBJECT_DEPENDS "${NY_RESOURCE_SOURCES}")
file(GLOB NY_ICON_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/icons/*)
set_property(SOURCE resources/nyagent.rc APPEND PROPERTY OBJECT_DEPENDS ${NY_ICON_FILES})

# The event log's message table: compiled from its .mc source into a header of
# event ids, a resource script and the table's binary, all in the build tree.
find_program(NY_WINDMC NAMES x86_64-w64-mingw32-windmc windmc REQUIRED)
set(NY_EVENTS_DIR ${CMAKE_BINARY_DIR}/events)
add_custom_command(OUTPUT ${NY_EVENTS_DIR}/nyagent_events.h ${NY_EVENTS_DIR}/nyagent_events.rc
        ${NY_EVENTS_DIR}/MSG00409.bin
    COMMAND ${CMAKE_COMMAND} -E make_directory ${NY_EVENTS_DIR}
    COMMAND ${NY_WINDMC} -U -h ${NY_EVENTS_DIR} -r ${NY_EVENTS_DIR} ${CMAKE_SOURCE_DIR}/resources/nyagent_events.mc
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/nyagent_events.mc VERBATIM)
add_custom_target(nyevents_generated DEPENDS ${NY_EVENTS_DIR}/nyagent_events.h)
add_library(nyevents OBJECT ${NY_EVENTS_DIR}/nyagent_events.rc)
set_source_files_properties(${NY_EVENTS_DIR}/nyagent_events.rc PROPERTIES OBJECT_DEPENDS ${NY_EVENTS_DIR}/MSG00409.bin)
target_include_directories(nyevents PRIVATE ${NY_EVENTS_DIR})

# The platform-free code traces too; on Windows its lines go to the debug output.
target_sources(nycore PRIVATE app/trace.cpp)

add_library(nywin STATIC
    app/agent_settings.cpp
    app/destruction_event.cpp
    app/event_log.cpp
    app/nyagent_app.cpp
    app/printpath/print_path_objects.cpp
    app/printpath/status_mutex_lock.cpp
    app/registry.cpp
    app/registry_watch.cpp
    app/strings.cpp
    app/version_info.cpp
    app/wide_text.cpp
    app/winver.cpp
    framework/dialog.cpp
    framework/nested_loop.cpp
    devices/devices.cpp
    devices/lan/lan_device.cpp
    devices/lan/lan_thread.cpp
    devices/port_cache.cpp
    devices/lan/ny_socket.cpp
    monitor/console.cpp
    devices/shared/def_device.cpp
    devices/shared/vir_device.cpp
    devices/threads/polling_device.cpp
    devices/threads/status_poller.cpp
    devices/threads/status_thread.cpp
    devices/threads/thread.cpp
    devices/usb/usb_device.cpp
    devices/usb/usb_devices.cpp
    monitor/device.cpp
    monitor/device_control.cpp
    monitor/dialog_monitor.cpp
    monitor/fleet/fleet_reporter.cpp
    monitor/fleet/metrics_file.cpp
    monitor/installation_check.cpp
    monitor/printer_info.cpp
    monitor/printers.cpp
    monitor/spooler_ports.cpp
    monitor/status_device.cpp
    monitor/status_board_feed.cpp
    monitor/status_pipe_connection.cpp
    monitor/status_pipe_security.cpp
    monitor/status_pipe_server.cpp
)
# cfgmgr32 before setupapi: both import libraries offer the CM_ functions, and
# the configuration manager's own DLL is the one that answers them.
target_link_libraries(nywin PUBLIC nycore cfgmgr32 setupapi winspool version ws2_32)
target_compile_options(nywin PRIVATE ${NY_WARNINGS})
target_include_directories(nywin PRIVATE ${NY_EVENTS_DIR})
add_dependencies(nywin nyevents_generated)

# Windows and menus of the user interface, above everything else.
add_library(nyui STATIC
    ui/applet_window.cpp
    ui/color_progress_ctrl.cpp
    ui/colour_dialog.cpp
    ui/dialog_font.cpp
    ui/dialog_look.cpp
    ui/gdi_rect.cpp
    ui/help_button.cpp
    ui/help_dlg.cpp
    ui/icon_button.cpp
    ui/ny_agent_dlg.cpp
    ui/ny_menu.cpp
    ui/ny_task_bar_applet.cpp
    ui/properties_button.cpp
    ui/status_window_layout.cpp
    ui/status_window_paint.cpp
    ui/status_window_source.cpp
    ui/task_bar_applet.cpp
    ui/tray_menu.cpp
    ui/tray_tip.cpp
    ui/window_dpi.cpp
)
# The About and device information dialogs.
target_sources(nyui PRIVATE ui/about_dlg.cpp ui/device_tree_view.cpp ui/export_file.cpp ui/info_dlg.cpp
    ui/unicode_file.cpp)
target_link_libraries(nyui PUBLIC nywin)
target_link_libraries(nyui PUBLIC nyuicore comctl32)
target_link_libraries(nyui PUBLIC shell32 comdlg32)
target_compile_options(nyui PRIVATE ${NY_WARNINGS})

# The product: the agent, a GUI program with every resource.
add_executable(NyAgent WIN32 agent/main.cpp agent/ny_agent.cpp $<TARGET_OBJECTS:nyresources>
    $<TARGET_OBJECTS:nyevents>)
target_link_libraries(NyAgent PRIVATE nyui)
target_compile_options(NyAgent PRIVATE ${NY_WARNINGS})

# The version record of a program shipped beside the agent carries the
# agent's numbers, read from the agent's record.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/version.rc)
file(STRINGS ${CMAKE_SOURCE_DIR}/resources/version.rc NY_FILEVERSION REGEX "^FILEVERSION ")
string(REGEX REPLACE "^FILEVERSION +" "" NY_FILEVERSION "${NY_FILEVERSION}")
function(ny_version_record target description)
    set(NY_PROGRAM_NAME ${target})
    set(NY_PROGRAM_DESCRIPTION ${description})
    configure_file(${CMAKE_SOURCE_DIR}/resources/program_version.rc.in
        ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc @ONLY)
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
endfunction()

# The kiosks' status query, a console program beside the agent.
add_executable(NyStatus tools/nystatus/main.cpp tools/nystatus/status_pipe_client.cpp)
target_link_libraries(NyStatus PRIVATE nywin shell32)
target_compile_options(NyStatus PRIVATE ${NY_WARNINGS})
ny_version_record(NyStatus "Tessel Photo Agent status query")

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)


add_subdirectory(tests/wine)

# One PJL status exchange on loopback, timed against the simulator (scripts/bench-lan.sh).
add_executable(lan_exchange_bench bench/lan_exchange_bench.cpp)
target_link_libraries(lan_exchange_bench PRIVATE nywin)
target_compile_options(lan_exchange_bench PRIVATE ${NY_WARNINGS})

# What polling costs: per poll of each road, and many idle printers (scripts/bench-poll.sh).
add_executable(poll_bench bench/poll_bench.cpp)
target_link_libraries(poll_bench PRIVATE nyusbdriver)
target_compile_options(poll_bench PRIVATE ${NY_WARNINGS})
