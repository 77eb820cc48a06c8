# Runs one fuzz target on a fresh copy of its corpus, so the checked-in corpus stays as it is.
# -DFUZZER=<executable> -DCORPUS=<dir> -DWORK=<scratch dir> -DFUZZ_OPTIONS=<list of options>
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus)
file(COPY ${CORPUS}/ DESTINATION ${WORK}/corpus)
execute_process(
    COMMAND ${FUZZER} ${FUZZ_OPTIONS} -artifact_prefix=${WORK}/ ${WORK}/corpus
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} failed (${result}); the failing input is in ${WORK}")
endif()
