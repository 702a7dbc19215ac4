# Writes a program's manual page from its --help and --version with
# help2man, then makes each section of --help ("Exit status:" and the like,
# which help2man keeps as subsections of OPTIONS) a section of the page, so
# the page says what --help says and no fact of it is written twice.
#   cmake -DHELP2MAN=... -DPROGRAM=... -DINCLUDE=file.h2m -DOUTPUT=page.1 -P manpage.cmake
execute_process(
  COMMAND ${HELP2MAN} --no-info --include=${INCLUDE} --output=${OUTPUT} ${PROGRAM}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man ${PROGRAM}: ${status}")
endif()
file(READ ${OUTPUT} page)
string(REGEX MATCHALL "\n\\.SS \"[^\"\n]*:\"\n" headings "${page}")
foreach(heading IN LISTS headings)
  string(REGEX REPLACE "\n\\.SS \"([^\"\n]*):\"\n" "\\1" name "${heading}")
  string(TOUPPER "${name}" name)
  string(REPLACE "${heading}" "\n.SH \"${name}\"\n" page "${page}")
endforeach()
# The prose of those sections stands flush with their lists' tags, and
# column names and options are not broken at a hyphen.
string(REPLACE "\n.IP\n" "\n.PP\n" page "${page}")
string(REGEX REPLACE "(\n\\.TH [^\n]*\n)" "\\1.nh\n" page "${page}")
file(WRITE ${OUTPUT} "${page}")
