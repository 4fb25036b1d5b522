# Bankgirot's HMAC seal: the algorithm, the key, and the save and open commands' part in it.
target_sources(valmo_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Seal.cpp ${CMAKE_CURRENT_LIST_DIR}/Seal.h
  ${CMAKE_CURRENT_LIST_DIR}/SealKey.cpp ${CMAKE_CURRENT_LIST_DIR}/SealKey.h
  ${CMAKE_CURRENT_LIST_DIR}/SealKeys.cpp ${CMAKE_CURRENT_LIST_DIR}/SealKeys.h
  ${CMAKE_CURRENT_LIST_DIR}/SealOnSave.cpp ${CMAKE_CURRENT_LIST_DIR}/SealOnSave.h
  ${CMAKE_CURRENT_LIST_DIR}/SealOnOpen.cpp ${CMAKE_CURRENT_LIST_DIR}/SealOnOpen.h)
