# The benchmark drive's records and its lap (stravo --bench); the drive itself
# runs once, briefly, in ./test.sh.
stravo_test(bench_test ${CMAKE_CURRENT_SOURCE_DIR}/bench_test.cpp stravo_bench stravo_startup_models stravo_datagen)
