# A stand-in for the external presentation program, started by the show-file command's tests.
# It lives in a folder with a blank in its name, so the program path has one too.
if(VALMO_BUILD_GUI)
  add_executable(ArgumentRecorder ${CMAKE_CURRENT_LIST_DIR}/programs/ArgumentRecorder.cpp)
  target_link_libraries(ArgumentRecorder PRIVATE Qt6::Core)
  set_target_properties(ArgumentRecorder PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/presentation program")
  if(TARGET ShowFileCommandTest)
    add_dependencies(ShowFileCommandTest ArgumentRecorder)
    target_compile_definitions(ShowFileCommandTest PRIVATE
      VALMO_ARGUMENT_RECORDER="$<TARGET_FILE:ArgumentRecorder>")
  endif()
endif()
