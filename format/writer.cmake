target_sources(valmo_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/OrderFileWriter.h ${CMAKE_CURRENT_LIST_DIR}/OrderFileWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SaveCommand.h ${CMAKE_CURRENT_LIST_DIR}/SaveCommand.cpp)
