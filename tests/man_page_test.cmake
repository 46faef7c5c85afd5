# Fails when the manual page and --help of a program name different options: every option the
# help text names must be in the page, and the page must name no option the program lacks.
#
#   cmake -DPROGRAM=<program> -DPAGE=<roff source> -P man_page_test.cmake

execute_process(COMMAND ${PROGRAM} --help RESULT_VARIABLE status OUTPUT_VARIABLE help)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help exited with ${status}")
endif()
string(REGEX MATCHALL "--[a-z]+(-[a-z]+)*" in_help "${help}")
list(REMOVE_DUPLICATES in_help)

# In roff every hyphen of an option is written \-.
file(READ ${PAGE} page)
string(REGEX MATCHALL "\\\\-\\\\-[a-z]+(\\\\-[a-z]+)*" in_page "${page}")
list(TRANSFORM in_page REPLACE "\\\\-" "-")
list(REMOVE_DUPLICATES in_page)

set(missing ${in_help})
list(REMOVE_ITEM missing ${in_page})
set(unknown ${in_page})
list(REMOVE_ITEM unknown ${in_help})
if(missing OR unknown OR NOT in_help)
  message(FATAL_ERROR "${PAGE} and ${PROGRAM} --help differ.\n"
                      "  missing from the page: ${missing}\n  not in --help: ${unknown}")
endif()
list(LENGTH in_help count)
message(STATUS "${PAGE} names the ${count} options of ${PROGRAM} --help")
