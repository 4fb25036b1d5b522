if(VALMO_BUILD_GUI)
  target_sources(valmo_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SettingsUnit.cpp ${CMAKE_CURRENT_LIST_DIR}/SettingsUnit.h
    ${CMAKE_CURRENT_LIST_DIR}/SettingsCommand.cpp ${CMAKE_CURRENT_LIST_DIR}/SettingsCommand.h)
endif()
