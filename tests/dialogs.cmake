# The help buttons of the entry dialogs open their topics in the help file that the build makes.
if(VALMO_BUILD_GUI AND TARGET DialogHelpTest)
  add_dependencies(DialogHelpTest valmo_help)
  target_compile_definitions(DialogHelpTest PRIVATE VALMO_HELP_FOLDER="${CMAKE_BINARY_DIR}/app")
endif()
