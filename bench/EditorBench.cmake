# The effect editor against the virtual M7c: a knob turn, a device storm, type changes (needs a display).
add_executable(oxa_bench_editor EditorBench.cpp)
pkg_check_modules(OXA_BENCH_EDITOR_X11 REQUIRED IMPORTED_TARGET x11)
target_link_libraries(oxa_bench_editor PRIVATE oxa_core oxa_virtual_m7c oxa_warnings PkgConfig::OXA_BENCH_EDITOR_X11)
target_compile_definitions(oxa_bench_editor PRIVATE OXA_BENCH_RESOURCES_DIR="${OXA_RESOURCES_DIR}")
set_target_properties(oxa_bench_editor PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(oxa_bench_editor oxa_stage)
