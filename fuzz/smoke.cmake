# A few seconds of one fuzzer on the seeds fuzz_seeds writes for it.
file(MAKE_DIRECTORY ${CORPUS})
execute_process(COMMAND ${SEEDS} ${NAME} ${CORPUS} RESULT_VARIABLE seeded)
if(NOT seeded EQUAL 0)
    message(FATAL_ERROR "writing the seed corpus failed")
endif()
execute_process(COMMAND ${FUZZER} -max_total_time=6 -max_len=${MAX_LEN} -rss_limit_mb=2048 ${CORPUS}
                RESULT_VARIABLE fuzzed)
if(NOT fuzzed EQUAL 0)
    message(FATAL_ERROR "the fuzzer found a fault (exit ${fuzzed})")
endif()
