# Runs one fuzz target for SECONDS over the seed corpus. New inputs go to WORK, never into the
# repository's seeds; a crash fails the test and leaves its input in WORK.
file(MAKE_DIRECTORY "${WORK}")
execute_process(
    COMMAND "${FUZZER}" -max_total_time=${SECONDS} -print_final_stats=1 -timeout=10
            -rss_limit_mb=8192 -artifact_prefix=${WORK}/ "${WORK}" "${SEEDS}"
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} found a fault (exit ${result}); its input is in ${WORK}")
endif()
