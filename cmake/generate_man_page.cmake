# Writes the manual page of a program from its own --help output with help2man, and
# the page gzipped as Debian installs it.
#   cmake -DHELP2MAN=... -DGZIP=... -DPROGRAM=<executable> -DNAME=<what it is, one line>
#         -DVERSION=<version> -DINCLUDE=<extra sections, used when it exists>
#         -DPAGE=<page.1> -P generate_man_page.cmake
# The program runs without a display: --help must not need one. The date is the build
# date, or SOURCE_DATE_EPOCH for a reproducible build.
foreach(variable HELP2MAN GZIP PROGRAM NAME VERSION INCLUDE PAGE)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "generate_man_page.cmake needs -D${variable}=...")
    endif()
endforeach()

execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
        "${HELP2MAN}" --no-info --section=1 "--version-string=${VERSION}"
            "--name=${NAME}" "--opt-include=${INCLUDE}" "${PROGRAM}"
    RESULT_VARIABLE result OUTPUT_VARIABLE page ERROR_VARIABLE error)
if(NOT result EQUAL 0 OR error)
    message(FATAL_ERROR "help2man failed on ${PROGRAM}:\n${error}")
endif()

# help2man writes the date as "Month Year", which man page checkers cannot read.
string(TIMESTAMP date "%Y-%m-%d" UTC)
string(REGEX REPLACE "(\n\\.TH [^ \n]+ \"1\" )\"[^\"]*\"" "\\1\"${date}\"" page "${page}")
file(WRITE "${PAGE}" "${page}")

execute_process(COMMAND "${GZIP}" -9 -n -c "${PAGE}" OUTPUT_FILE "${PAGE}.gz" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${PAGE}")
endif()
