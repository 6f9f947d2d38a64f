# Runs one fuzz target for SECONDS on its own corpus, seeded from SEEDS; fails on any finding.
file(MAKE_DIRECTORY ${CORPUS})
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
          -artifact_prefix=${CORPUS}/../ ${CORPUS} ${SEEDS}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${FUZZER} found a failure (exit ${rc}); the input is next to ${CORPUS}")
endif()
