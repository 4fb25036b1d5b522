# The main window's tests type keys into the lists.
if(VALMO_BUILD_GUI AND TARGET MainFormTest)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  target_link_libraries(MainFormTest PRIVATE Qt6::Test)
endif()
