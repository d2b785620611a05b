# Writes a manual page from a program's --help and compresses it.
#   cmake -DPROGRAM=... -DNAME=... -DSUMMARY=... -DDATE=... -DVERSION=... -DSEE_ALSO=... -DOUTPUT=page.1.gz
#         -P manpage.cmake
# SEE_ALSO is a line of roff.
# With -DPAGE=page.1 a written page is only compressed.
function(compress source)
  execute_process(COMMAND gzip -9 -n -c ${source} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip failed (${status})")
  endif()
endfunction()

if(DEFINED PAGE)
  compress(${PAGE})
  return()
endif()

execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help failed (${status})")
endif()

# Backslashes first; a line may not start with a control character.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REPLACE "\n." "\n\\&." help "${help}")
string(REPLACE "\n'" "\n\\&'" help "${help}")
string(REGEX REPLACE "^([.'])" "\\\\&\\1" help "${help}")
if(NOT help MATCHES "\n$")
  string(APPEND help "\n")
endif()

string(TOUPPER "${NAME}" title)
string(REPLACE "-" "\\-" name_roff "${NAME}")
string(REPLACE "-" "\\-" SUMMARY "${SUMMARY}")
file(WRITE ${OUTPUT}.tmp
  ".TH ${title} 1 \"${DATE}\" \"QTX ${VERSION}\" \"User Commands\"\n"
  ".SH NAME\n${name_roff} \\- ${SUMMARY}\n"
  ".SH DESCRIPTION\n.nf\n${help}.fi\n"
  ".SH SEE ALSO\n${SEE_ALSO}\n")
compress(${OUTPUT}.tmp)
file(REMOVE ${OUTPUT}.tmp)
