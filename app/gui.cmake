if(VALMO_BUILD_GUI)
  target_sources(valmo_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/MainForm.cpp ${CMAKE_CURRENT_LIST_DIR}/MainForm.h
    ${CMAKE_CURRENT_LIST_DIR}/MainActions.cpp ${CMAKE_CURRENT_LIST_DIR}/MainActions.h
    ${CMAKE_CURRENT_LIST_DIR}/RowListModel.cpp ${CMAKE_CURRENT_LIST_DIR}/RowListModel.h
    ${CMAKE_CURRENT_LIST_DIR}/StartPicture.cpp ${CMAKE_CURRENT_LIST_DIR}/StartPicture.h
    ${CMAKE_CURRENT_LIST_DIR}/VersionText.cpp ${CMAKE_CURRENT_LIST_DIR}/VersionText.h
    ${CMAKE_CURRENT_LIST_DIR}/SwedishTranslations.cpp ${CMAKE_CURRENT_LIST_DIR}/SwedishTranslations.h)
endif()
if(VALMO_BUILD_GUI AND WIN32)
  target_link_libraries(valmo_gui PRIVATE version)
endif()
