# Compiles SAGA.chm: cmake -DCHMCMD=... -DCHM_FIX=... -DSOURCES=a;b;...
#   -DCOMPILED=<the compiler's own output, kept for the tests> -DOUTPUT=... -P compile_help.cmake
# The compiler writes its project folder's absolute path into the file, and
# the context map's strings keep their length when they are given topic
# names. A folder whose path has the same length on every machine makes the
# shipped file the same, byte for byte, whatever the build folder.
string(RANDOM LENGTH 12 ALPHABET "abcdefghijklmnopqrstuvwxyz0123456789" suffix)
set(stage "/tmp/velquior-help-${suffix}")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${stage}")
file(COPY ${SOURCES} DESTINATION "${stage}")
execute_process(COMMAND "${CHMCMD}" --verbosity 1 SAGA.hhp
                WORKING_DIRECTORY "${stage}" RESULT_VARIABLE compiled)
if(compiled EQUAL 0)
  execute_process(COMMAND "${CHM_FIX}" "${stage}/SAGA.chm" "${OUTPUT}" "${stage}" RESULT_VARIABLE fixed)
  if(fixed EQUAL 0)
    file(COPY_FILE "${stage}/SAGA.chm" "${COMPILED}")
  endif()
endif()
file(REMOVE_RECURSE "${stage}")
if(NOT compiled EQUAL 0)
  message(FATAL_ERROR "chmcmd failed on SAGA.hhp (${compiled})")
elseif(NOT fixed EQUAL 0)
  message(FATAL_ERROR "velquior_chm_fix failed on SAGA.chm (${fixed})")
endif()
