target_sources(valmo_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SettingsStore.cpp ${CMAKE_CURRENT_LIST_DIR}/SettingsStore.h)
