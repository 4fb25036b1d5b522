if(VALMO_BUILD_GUI)
  target_sources(valmo_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CursorPause.cpp ${CMAKE_CURRENT_LIST_DIR}/CursorPause.h
    ${CMAKE_CURRENT_LIST_DIR}/StartupFile.cpp ${CMAKE_CURRENT_LIST_DIR}/StartupFile.h)
endif()
