# The settings dialog and help tests type into the widgets and click with Qt's test functions.
if(VALMO_BUILD_GUI)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  foreach(name SettingsFormTest HelpTest)
    if(TARGET ${name})
      target_link_libraries(${name} PRIVATE Qt6::Test)
    endif()
  endforeach()
  if(TARGET HelpTest)
    # The help file that the build places beside the editor.
    add_dependencies(HelpTest valmo_help)
    target_compile_definitions(HelpTest PRIVATE VALMO_HELP_FOLDER="${CMAKE_BINARY_DIR}/app")
  endif()
endif()
