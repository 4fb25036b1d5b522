# The viewer's load time and memory for large report files (needs the widgets).
if(VALMO_BUILD_GUI)
  add_executable(ViewerBench ${CMAKE_CURRENT_LIST_DIR}/viewer/ViewerBench.cpp
                             ${CMAKE_CURRENT_LIST_DIR}/BenchSupport.cpp)
  target_link_libraries(ViewerBench PRIVATE valmo_gui)
  target_include_directories(ViewerBench PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()
