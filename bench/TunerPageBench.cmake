# The tuner page: a pitch report and the repaint that shows it, a timer step, the share of the message thread.
add_executable(oxa_bench_tuner_page TunerPageBench.cpp)
target_link_libraries(oxa_bench_tuner_page PRIVATE oxa_core oxa_warnings)
set_target_properties(oxa_bench_tuner_page PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
