# The keyring test talks to a real Secret Service: once inside a private D-Bus session with a
# keyring of its own, once with no session bus at all, where nothing may be stored.
if(TARGET valmo_keystore)
  add_executable(KeychainKeyStoreTest ${CMAKE_CURRENT_LIST_DIR}/keyring/KeychainKeyStoreTest.cpp)
  target_link_libraries(KeychainKeyStoreTest PRIVATE valmo_test_core valmo_keystore)
  add_test(NAME KeychainKeyStoreTest
           COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/programs/with-secret-service.sh
                   $<TARGET_FILE:KeychainKeyStoreTest> --gtest_filter=SecretService.*)
  add_test(NAME KeychainKeyStoreWithoutServiceTest
           COMMAND ${CMAKE_COMMAND} -E env DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/valmo-bus
                   $<TARGET_FILE:KeychainKeyStoreTest> --gtest_filter=NoKeyring.*)
  set_tests_properties(KeychainKeyStoreTest KeychainKeyStoreWithoutServiceTest PROPERTIES TIMEOUT 120)
endif()
# The settings dialog's Förändringsskydd part types into the widgets with Qt's test functions.
if(TARGET SealSettingsTest)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  target_link_libraries(SealSettingsTest PRIVATE Qt6::Test)
endif()
target_sources(valmo_test_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/support/FakeKeyStore.h)
