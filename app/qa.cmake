if(VALMO_BUILD_GUI)
  target_sources(valmo_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/MnemonicKeyFilter.cpp ${CMAKE_CURRENT_LIST_DIR}/MnemonicKeyFilter.h)
endif()
