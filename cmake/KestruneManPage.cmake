# Writes the manual page of one program and a copy compressed as Debian installs it (gzip -9n).
#
#   cmake -DHELP2MAN=... -DPRECONV=... -DGZIP=... -DPROGRAM=<executable> -DSUMMARY=<one line>
#         "-DINCLUDES=<file>;<file>" -DOUTPUT=<page> -P KestruneManPage.cmake
#
# help2man writes the page from the program's --help and --version and the sections of the
# include files. The program's texts may hold characters outside ASCII (a dash, a quote); they
# become troff escapes, so that every troff reads the page, not only man's own pipeline.
# PRECONV may be empty, which leaves them as UTF-8.
foreach(variable HELP2MAN GZIP PROGRAM SUMMARY INCLUDES OUTPUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "KestruneManPage.cmake: ${variable} is not set")
  endif()
endforeach()

set(include_options)
foreach(file IN LISTS INCLUDES)
  list(APPEND include_options --include=${file})
endforeach()
execute_process(
  COMMAND ${HELP2MAN} --no-info --no-discard-stderr --section=1 --locale=C.UTF-8 --name=${SUMMARY}
          ${include_options} --output=${OUTPUT} ${PROGRAM}
  COMMAND_ERROR_IS_FATAL ANY)

if(PRECONV)
  file(READ ${OUTPUT} page)
  if(NOT page MATCHES "^[\t\n -~]*$")
    execute_process(COMMAND ${PRECONV} -e UTF-8 ${OUTPUT}
                    OUTPUT_VARIABLE page COMMAND_ERROR_IS_FATAL ANY)
    # preconv names its input file on a first line of its own; the page does not need it.
    string(REGEX REPLACE "^\\.lf [^\n]*\n" "" page "${page}")
    file(WRITE ${OUTPUT} "${page}")
  endif()
endif()

execute_process(COMMAND ${GZIP} -9nkf ${OUTPUT} COMMAND_ERROR_IS_FATAL ANY)
