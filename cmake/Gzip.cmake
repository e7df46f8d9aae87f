# Compresses SOURCE into OUTPUT at the best level and without a name or time stamp, so that
# the same source always gives the same bytes.
#   cmake -DSOURCE=in -DOUTPUT=out.gz -P Gzip.cmake
execute_process(COMMAND gzip -9nc "${SOURCE}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE failed)
if(failed)
    file(REMOVE "${OUTPUT}")
    message(FATAL_ERROR "gzip failed on ${SOURCE}")
endif()
