# The pictures of the editor, compiled in by rcc. They are built as an object library whose
# objects go straight into every program that links valmo_gui: a resource object inside a
# static library would be dropped by the linker, since nothing refers to it by name.
add_library(valmo_pictures OBJECT ${CMAKE_CURRENT_LIST_DIR}/resources.qrc)
set_target_properties(valmo_pictures PROPERTIES AUTORCC ON)
target_link_libraries(valmo_pictures PRIVATE Qt6::Core)
target_sources(valmo_gui INTERFACE $<TARGET_OBJECTS:valmo_pictures>)
