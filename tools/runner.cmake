# rosterdesk-script: rosterdesk on the headless window backend, driven by a
# script (tools/runner/README.md).
if(TARGET rd_window_headless)
  add_executable(rosterdesk-script ${CMAKE_CURRENT_LIST_DIR}/runner/runner.cpp)
  target_link_libraries(rosterdesk-script PRIVATE rd_shell_entry rd_shell rd_scenario rd_store rd_window_headless)
endif()
