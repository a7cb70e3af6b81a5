# Runs one fuzz target for a fixed number of inputs, starting from its committed seeds.
# New inputs go to a scratch folder emptied first, so the seeds stay as committed and
# every run with the same seed explores the same inputs; a crashing input is kept in
# FINDINGS. Usage: cmake -DFUZZER=.. -DRUNS=.. -DSEEDS=.. -DSCRATCH=.. -DFINDINGS=.. -P
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH} ${FINDINGS})
get_filename_component(target ${FUZZER} NAME)
execute_process(COMMAND ${FUZZER} -runs=${RUNS} -seed=1 -print_final_stats=1
                        -artifact_prefix=${FINDINGS}/${target}- ${SCRATCH} ${SEEDS}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${target} failed (${result}); the input is in ${FINDINGS}")
endif()
