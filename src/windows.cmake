# Included by CMakeLists.txt in the Windows builds (MinGW-w64): the
# platform's own services and tavo.dll. No Qt.

add_library(tavo_platform STATIC
  platform/win32_clipboard.cpp
  platform/win32_encoding.cpp
  platform/win32_help.cpp
  platform/win32_settings_folder.cpp
  platform/win32_system_string.cpp
)
target_link_libraries(tavo_platform PUBLIC tavo_base tavo_files PRIVATE oleaut32 user32 shell32)

# The native front end: the viewer's canvas on GDI, the preview window and
# the settings dialog bound to forms/.
add_library(tavo_win32 STATIC
  win32/dib_surface.cpp
  win32/gdi_canvas.cpp
  win32/config_controls.cpp
  win32/config_form.cpp
  win32/config_pages.cpp
  win32/dialogs.cpp
  win32/ht_label.cpp
  win32/jw_brws_form.cpp
  win32/viewer_control.cpp
  win32/window_class.cpp
)
target_link_libraries(tavo_win32 PUBLIC tavo_forms tavo_viewer tavo_platform comctl32 comdlg32 gdi32 imm32 user32)
# The hyperlink label: the shell and the registry.
target_link_libraries(tavo_win32 PRIVATE shell32 advapi32)

# The windows the exports show (the front end the interface links as
# tavo_qt on every platform): the progress dialog, the preview window and
# the settings dialog.
add_library(tavo_qt STATIC
  win32/config_window.cpp
  win32/progress_form.cpp
  win32/viewer_window.cpp
)
target_link_libraries(tavo_qt PUBLIC tavo_forms tavo_platform tavo_win32 PRIVATE comctl32 gdi32 user32)

# Every export by its plain name. The 32-bit module-definition file names
# the __stdcall functions with their decorations; the 64-bit one has none.
set(tavo_def_source ${CMAKE_CURRENT_SOURCE_DIR}/interface/tavo.def)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tavo_def_source})
set(tavo_def ${tavo_def_source})
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  file(READ ${tavo_def_source} def_text)
  string(REGEX REPLACE " = [A-Za-z0-9_]+@[0-9]+" "" def_text "${def_text}")
  set(tavo_def ${CMAKE_CURRENT_BINARY_DIR}/tavo64.def)
  file(WRITE ${tavo_def} "${def_text}")
endif()

# build-win32/tavo.dll, build-win64/tavo.dll.
add_library(tavo_shared SHARED interface/library_entry.cpp win32/library_entry.cpp ${tavo_def})
set_target_properties(tavo_shared PROPERTIES OUTPUT_NAME tavo PREFIX "" IMPORT_PREFIX "")
target_link_libraries(tavo_shared PRIVATE
  -Wl,--whole-archive tavo_interface -Wl,--no-whole-archive tavo_qt tavo_forms tavo_viewer tavo_export tavo_settings
  tavo_jwc tavo_platform tavo_base tavo_files)

# The help pages beside tavo.dll (build-win*/help/), where the help looks.
add_custom_target(tavo_help ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/docs/help ${CMAKE_BINARY_DIR}/help
  COMMENT "help pages")
add_dependencies(tavo_shared tavo_help)
