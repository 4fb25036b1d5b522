if(VALMO_BUILD_GUI)
  target_sources(valmo_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/WidgetPrompt.cpp ${CMAKE_CURRENT_LIST_DIR}/WidgetPrompt.h)
endif()
