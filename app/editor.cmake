target_sources(valmo_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/LeftOutMandates.cpp ${CMAKE_CURRENT_LIST_DIR}/LeftOutMandates.h
  ${CMAKE_CURRENT_LIST_DIR}/ListTotals.cpp ${CMAKE_CURRENT_LIST_DIR}/ListTotals.h
  ${CMAKE_CURRENT_LIST_DIR}/RecentFiles.cpp ${CMAKE_CURRENT_LIST_DIR}/RecentFiles.h)
if(VALMO_BUILD_GUI)
  target_sources(valmo_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/RowChange.cpp ${CMAKE_CURRENT_LIST_DIR}/RowChange.h
    ${CMAKE_CURRENT_LIST_DIR}/RowSortModel.cpp ${CMAKE_CURRENT_LIST_DIR}/RowSortModel.h
    ${CMAKE_CURRENT_LIST_DIR}/HelpKeyFilter.cpp ${CMAKE_CURRENT_LIST_DIR}/HelpKeyFilter.h
    ${CMAKE_CURRENT_LIST_DIR}/MnemonicAssigner.cpp ${CMAKE_CURRENT_LIST_DIR}/MnemonicAssigner.h
    ${CMAKE_CURRENT_LIST_DIR}/WindowMemory.cpp ${CMAKE_CURRENT_LIST_DIR}/WindowMemory.h)
endif()
