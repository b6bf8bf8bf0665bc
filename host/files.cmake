# The host's drawing files: DXF reading and writing and SVG export on the drawing core
# alone (armavo_host_files_core, for tools and benchmarks), and the OPEN, SAVE and EXPORT
# verbs of the command line on top (armavo_host_files).
add_library(armavo_host_files_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/dxf_angles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dxf_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dxf_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dxf_repair.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dxf_structure.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dxf_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_save.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mtext_plain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/svg_entities.cpp
  ${CMAKE_CURRENT_LIST_DIR}/svg_export.cpp
  ${CMAKE_CURRENT_LIST_DIR}/svg_font_metrics.cpp
  ${CMAKE_CURRENT_LIST_DIR}/svg_geometry.cpp
)
target_include_directories(armavo_host_files_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(armavo_host_files_core PUBLIC armavo_host_drawing)

add_library(armavo_host_files STATIC ${CMAKE_CURRENT_LIST_DIR}/file_commands.cpp)
target_link_libraries(armavo_host_files PUBLIC armavo_host_files_core armavo_host)
