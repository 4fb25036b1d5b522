# The presenter's reading of the bank's report files (core: no window).
target_sources(valmo_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Report.h
  ${CMAKE_CURRENT_LIST_DIR}/ReportCodes.cpp ${CMAKE_CURRENT_LIST_DIR}/ReportCodes.h
  ${CMAKE_CURRENT_LIST_DIR}/ReportTable.cpp ${CMAKE_CURRENT_LIST_DIR}/ReportTable.h
  ${CMAKE_CURRENT_LIST_DIR}/ReportParser.cpp ${CMAKE_CURRENT_LIST_DIR}/ReportParser.h
  ${CMAKE_CURRENT_LIST_DIR}/ReportTotalsCheck.cpp ${CMAKE_CURRENT_LIST_DIR}/ReportTotalsCheck.h)
