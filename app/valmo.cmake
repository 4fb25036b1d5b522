if(VALMO_BUILD_GUI)
  add_executable(valmo WIN32 ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
  target_link_libraries(valmo PRIVATE valmo_gui)
  set_target_properties(valmo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(WIN32)
    # The file version that the window caption shows, from the project version.
    set(VALMO_RC ${CMAKE_CURRENT_BINARY_DIR}/valmo_version.rc)
    string(REPLACE "." "," VALMO_VERSION_COMMAS "${PROJECT_VERSION}")
    file(WRITE ${VALMO_RC}
      "1 VERSIONINFO\n"
      "FILEVERSION ${VALMO_VERSION_COMMAS}\n"
      "PRODUCTVERSION ${VALMO_VERSION_COMMAS}\n"
      "BEGIN\n"
      "  BLOCK \"StringFileInfo\"\n"
      "  BEGIN\n"
      "    BLOCK \"041D04E4\"\n"
      "    BEGIN\n"
      "      VALUE \"FileDescription\", \"Lumora Valmo\\0\"\n"
      "      VALUE \"FileVersion\", \"${PROJECT_VERSION}\\0\"\n"
      "      VALUE \"ProductName\", \"Lumora Valmo\\0\"\n"
      "      VALUE \"ProductVersion\", \"${PROJECT_VERSION}\\0\"\n"
      "    END\n"
      "  END\n"
      "  BLOCK \"VarFileInfo\"\n"
      "  BEGIN\n"
      "    VALUE \"Translation\", 0x041D, 1252\n"
      "  END\n"
      "END\n")
    target_sources(valmo PRIVATE ${VALMO_RC})
  endif()
endif()
