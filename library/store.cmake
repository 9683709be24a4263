# The picture store: Qt Core and SQLite only, no GUI.
add_library(lumbra_store STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SqliteDatabase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SqliteDatabase.h
  ${CMAKE_CURRENT_LIST_DIR}/SqliteStatement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SqliteStatement.h
  ${CMAKE_CURRENT_LIST_DIR}/PictureStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureStore.h
)
target_include_directories(lumbra_store PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(lumbra_store PUBLIC Qt6::Core PRIVATE SQLite::SQLite3)
