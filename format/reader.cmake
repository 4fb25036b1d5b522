target_sources(valmo_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/OpeningRecordPolicy.h ${CMAKE_CURRENT_LIST_DIR}/OpeningRecordLog.h
  ${CMAKE_CURRENT_LIST_DIR}/SettingsOpeningRecordPolicy.cpp ${CMAKE_CURRENT_LIST_DIR}/SettingsOpeningRecordPolicy.h
  ${CMAKE_CURRENT_LIST_DIR}/OrderLineReader.cpp ${CMAKE_CURRENT_LIST_DIR}/OrderLineReader.h
  ${CMAKE_CURRENT_LIST_DIR}/RecordParsers.cpp ${CMAKE_CURRENT_LIST_DIR}/RecordParsers.h
  ${CMAKE_CURRENT_LIST_DIR}/ReadVerdict.h
  ${CMAKE_CURRENT_LIST_DIR}/OrderFileReader.cpp ${CMAKE_CURRENT_LIST_DIR}/OrderFileReader.h
  ${CMAKE_CURRENT_LIST_DIR}/OpenCommand.cpp ${CMAKE_CURRENT_LIST_DIR}/OpenCommand.h)
