# The main window with large documents: MainWindowBench.cpp is found by the bench glob, which links
# the core only; the window needs the widgets too.
if(TARGET MainWindowBench)
  if(VALMO_BUILD_GUI)
    target_link_libraries(MainWindowBench PRIVATE valmo_gui)
  else()
    set_target_properties(MainWindowBench PROPERTIES EXCLUDE_FROM_ALL ON)
  endif()
endif()
