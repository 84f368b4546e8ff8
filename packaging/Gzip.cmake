# cmake -DIN=FILE -DOUT=FILE.gz -P Gzip.cmake: compresses at the highest level without a name or
# time stamp in the header, so the same input always gives the same file.
execute_process(COMMAND gzip -9 -n -c ${IN} OUTPUT_FILE ${OUT} COMMAND_ERROR_IS_FATAL ANY)
