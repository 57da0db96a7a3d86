# The start-up data path of the editor against bare reads of the same files.
roster_bench(store_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/store_bench.cpp LIBS rd_store rd_demogame rd_window_headless)
