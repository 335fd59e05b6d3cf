# Fails when mandoc's checker or groff finds anything to warn about in a manual page.
#   cmake -DMANDOC=... -DGROFF=... -DPAGE=<page.1> -P lint_man_page.cmake
foreach(variable MANDOC GROFF PAGE)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "lint_man_page.cmake needs -D${variable}=...")
    endif()
endforeach()
if(NOT EXISTS "${PAGE}")
    message(FATAL_ERROR "no manual page ${PAGE}: build first")
endif()

execute_process(COMMAND "${MANDOC}" -T lint -W warning "${PAGE}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output)
    message(FATAL_ERROR "mandoc -T lint:\n${output}")
endif()
# As man shows it on a terminal, with every groff warning.
execute_process(COMMAND "${GROFF}" -ww -z -man -Tutf8 "${PAGE}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output)
    message(FATAL_ERROR "groff -ww:\n${output}")
endif()
