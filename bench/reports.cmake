# Reading a report of many items and showing it in the viewer (needs the widgets).
if(VALMO_BUILD_GUI)
  add_executable(ReportBench ${CMAKE_CURRENT_LIST_DIR}/reports/ReportBench.cpp
                             ${CMAKE_CURRENT_LIST_DIR}/BenchSupport.cpp)
  target_link_libraries(ReportBench PRIVATE valmo_gui)
  target_include_directories(ReportBench PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()
