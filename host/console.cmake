# The host's console side: line sources, prompts, the link with the module, the command line
# and the built-in commands. Linked with the drawing core and the window framework.
find_path(READLINE_INCLUDE_DIR readline/readline.h)
find_library(READLINE_LIBRARY readline)
if(NOT READLINE_INCLUDE_DIR OR NOT READLINE_LIBRARY)
  message(FATAL_ERROR "GNU readline is needed for the terminal (Debian: libreadline-dev)")
endif()

add_library(armavo_host STATIC
  ${CMAKE_CURRENT_LIST_DIR}/input_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/input_sources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/prompts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtin_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/entity_listing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/run_status.cpp
  ${CMAKE_CURRENT_LIST_DIR}/unsaved_work.cpp)
target_include_directories(armavo_host PRIVATE ${READLINE_INCLUDE_DIR})
target_compile_definitions(armavo_host PRIVATE ARMAVO_DOCS_DIR="${PROJECT_SOURCE_DIR}/docs")
target_link_libraries(armavo_host PUBLIC armavo_host_drawing armavo_platform
                      PRIVATE ${READLINE_LIBRARY})
