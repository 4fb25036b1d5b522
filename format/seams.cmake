target_sources(valmo_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/UserPrompt.h ${CMAKE_CURRENT_LIST_DIR}/FileShower.h)
