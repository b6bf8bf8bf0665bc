# The host's drawing files: DXF reading and writing, SVG export, and the OPEN, SAVE and
# EXPORT verbs of the command line.
add_library(armavo_host_files STATIC
  ${CMAKE_CURRENT_LIST_DIR}/dxf_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dxf_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dxf_structure.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dxf_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/svg_export.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_commands.cpp
)
target_include_directories(armavo_host_files PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(armavo_host_files PUBLIC armavo_host_drawing armavo_host)
