target_sources(valmo_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CsvReader.cpp ${CMAKE_CURRENT_LIST_DIR}/CsvReader.h
  ${CMAKE_CURRENT_LIST_DIR}/PayerImport.cpp ${CMAKE_CURRENT_LIST_DIR}/PayerImport.h
  ${CMAKE_CURRENT_LIST_DIR}/ListExport.cpp ${CMAKE_CURRENT_LIST_DIR}/ListExport.h)
