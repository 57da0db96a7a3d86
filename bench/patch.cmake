# rosterpatch: the update run against plain copies of the same files.
roster_bench(patch_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/patch_bench.cpp LIBS rd_patch rd_demogame rd_host)
