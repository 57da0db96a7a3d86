# The demo game generator: a library for tests and benchmarks, and a program.
add_library(rd_demogame STATIC
  ${CMAKE_CURRENT_LIST_DIR}/demogen/demo_game.cpp
  ${CMAKE_CURRENT_LIST_DIR}/demogen/demo_persons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/demogen/demo_reference.cpp
  ${CMAKE_CURRENT_LIST_DIR}/demogen/demo_castles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/demogen/demo_pictures.cpp)
target_include_directories(rd_demogame PUBLIC ${CMAKE_CURRENT_LIST_DIR}/demogen ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(rd_demogame PUBLIC rd_tables rd_host)

add_executable(rosterdemo-gen ${CMAKE_CURRENT_LIST_DIR}/demogen/main.cpp)
target_link_libraries(rosterdemo-gen PRIVATE rd_demogame)
