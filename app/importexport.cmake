if(VALMO_BUILD_GUI)
  target_sources(valmo_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ImportCommand.cpp ${CMAKE_CURRENT_LIST_DIR}/ImportCommand.h
    ${CMAKE_CURRENT_LIST_DIR}/ExportCommand.cpp ${CMAKE_CURRENT_LIST_DIR}/ExportCommand.h)
endif()
