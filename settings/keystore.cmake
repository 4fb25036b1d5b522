# The seal key's store: the interface in the core, the system keyring (QtKeychain) in a library of
# its own that only the editor links, so the core and valmo-cli stay on Qt6::Core.
target_sources(valmo_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/KeyStore.h)
if(VALMO_BUILD_GUI)
  add_library(valmo_keystore STATIC
    ${CMAKE_CURRENT_LIST_DIR}/KeychainKeyStore.cpp ${CMAKE_CURRENT_LIST_DIR}/KeychainKeyStore.h)
  target_link_libraries(valmo_keystore PUBLIC valmo_core PRIVATE Qt6Keychain::Qt6Keychain)
  target_link_libraries(valmo_gui PUBLIC valmo_keystore)
  target_sources(valmo_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SealSettings.cpp ${CMAKE_CURRENT_LIST_DIR}/SealSettings.h)
endif()
