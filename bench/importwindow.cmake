# "Importera..." in the main window (needs the widgets).
if(VALMO_BUILD_GUI)
  add_executable(ImportWindowBench ${CMAKE_CURRENT_LIST_DIR}/importwindow/ImportWindowBench.cpp
                                   ${CMAKE_CURRENT_LIST_DIR}/BenchSupport.cpp)
  target_link_libraries(ImportWindowBench PRIVATE valmo_gui)
  target_include_directories(ImportWindowBench PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()
