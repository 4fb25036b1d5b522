if(VALMO_BUILD_GUI)
  target_sources(valmo_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/hh.cpp ${CMAKE_CURRENT_LIST_DIR}/hh.h
    ${CMAKE_CURRENT_LIST_DIR}/HelpFile.cpp ${CMAKE_CURRENT_LIST_DIR}/HelpFile.h
    ${CMAKE_CURRENT_LIST_DIR}/HelpWindow.cpp ${CMAKE_CURRENT_LIST_DIR}/HelpWindow.h)

  # The help file is separate from the program: Qt's rcc compiles the Swedish pages under help/
  # into a binary resource file that is placed beside the editor and registered at run time.
  set(VALMO_HELP_SOURCE_DIR ${PROJECT_SOURCE_DIR}/help)
  set(VALMO_HELP_FILE "${CMAKE_BINARY_DIR}/app/Hjälp Valmo.rcc")
  file(GLOB valmo_help_pages CONFIGURE_DEPENDS ${VALMO_HELP_SOURCE_DIR}/*.htm ${VALMO_HELP_SOURCE_DIR}/*.txt
       ${VALMO_HELP_SOURCE_DIR}/*.css ${VALMO_HELP_SOURCE_DIR}/*.png)
  add_custom_command(
    OUTPUT "${VALMO_HELP_FILE}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/app"
    COMMAND Qt6::rcc --binary --output "${VALMO_HELP_FILE}" "${VALMO_HELP_SOURCE_DIR}/help.qrc"
    DEPENDS "${VALMO_HELP_SOURCE_DIR}/help.qrc" ${valmo_help_pages}
    WORKING_DIRECTORY ${VALMO_HELP_SOURCE_DIR}
    COMMENT "Compiling the help file"
    VERBATIM)
  add_custom_target(valmo_help ALL DEPENDS "${VALMO_HELP_FILE}")
  # For installing: the compiled help file goes to share/valmo.
  set_property(GLOBAL PROPERTY VALMO_HELP_FILE "${VALMO_HELP_FILE}")
  add_dependencies(valmo_gui valmo_help)
endif()
