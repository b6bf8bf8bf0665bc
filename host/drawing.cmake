# The host's drawing core: group codes, the drawing database, the undo journal and the
# sds_* functions that touch the drawing (lists, entities, tables, dictionaries, selection
# sets, host commands, system variables, snaps and picking).
add_library(armavo_host_drawing STATIC
  ${CMAKE_CURRENT_LIST_DIR}/group_codes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/group_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/object_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/point_roles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/database.cpp
  ${CMAKE_CURRENT_LIST_DIR}/database_changes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/record_index.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pick_grid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/group_index.cpp
  ${CMAKE_CURRENT_LIST_DIR}/undo_journal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/session.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sds_lists.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sds_entities.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sds_dictionaries.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sds_selection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sds_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sysvars.cpp
  ${CMAKE_CURRENT_LIST_DIR}/entity_geometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picking.cpp
)
target_include_directories(armavo_host_drawing PUBLIC ${PROJECT_SOURCE_DIR})
