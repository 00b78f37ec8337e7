# Compiles a help project with the help compiler and finishes the file, run as
#   cmake -DSOURCE=dir -DPROJECT=name.hhp -DWORK=dir -DOUTPUT=file -DCOMPILER=chmcmd
#         -DFINISH=chm_finish -P compile_help.cmake
# An empty FINISH leaves the file as the compiler wrote it.
# The compiler writes next to the project, so it works on a copy in WORK.
# Leak reports from a sanitizer build of the finishing tool are not what this step is about.
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
file(REMOVE_RECURSE ${WORK})
file(COPY ${SOURCE}/ DESTINATION ${WORK})
execute_process(COMMAND ${COMPILER} ${PROJECT}
                WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REGEX REPLACE "[^\n]*a CHM compiler[^\n]*\n?" "" err "${err}")
string(REGEX REPLACE "\\.hhp$" ".chm" compiled ${PROJECT})
if(NOT result EQUAL 0 OR NOT EXISTS ${WORK}/${compiled})
    message(FATAL_ERROR "${COMPILER} ${PROJECT} failed:\n${out}${err}")
endif()
if(FINISH)
    execute_process(COMMAND ${FINISH} ${WORK}/${compiled} ${WORK}/${PROJECT}
                    RESULT_VARIABLE result ERROR_VARIABLE err)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${PROJECT}: the compiled file is not right:\n${err}")
    endif()
endif()
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
file(COPY_FILE ${WORK}/${compiled} ${OUTPUT})
