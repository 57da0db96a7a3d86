# Frames of the main menu and the keypad panel on the headless backend.
if(TARGET rd_window_headless)
  roster_bench(shell_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell_bench.cpp
    LIBS rd_shell rd_scenario rd_store rd_window_headless)
endif()
