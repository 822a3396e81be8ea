# cmake -DDUMP=calendar-dump -DFROM=Y-MM-DD -DTO=Y-MM-DD -DOUT=prefix -P CompareInfoDumps.cmake
# Fails unless `calendar-dump info FROM TO` and the same with --running write the same lines.
foreach(mode fresh running)
    set(extra)
    if(mode STREQUAL "running")
        set(extra --running)
    endif()
    execute_process(COMMAND ${DUMP} info ${FROM} ${TO} ${extra} OUTPUT_FILE ${OUT}-${mode}.txt
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "calendar-dump info ${FROM} ${TO} ${extra} failed: ${status}")
    endif()
endforeach()
file(SIZE ${OUT}-fresh.txt size)
if(size EQUAL 0)
    message(FATAL_ERROR "calendar-dump wrote nothing")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}-fresh.txt ${OUT}-running.txt
                RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
    execute_process(COMMAND diff ${OUT}-fresh.txt ${OUT}-running.txt OUTPUT_VARIABLE lines)
    string(SUBSTRING "${lines}" 0 2000 lines)
    message(FATAL_ERROR "the running object's texts differ from a fresh object's:\n${lines}")
endif()
