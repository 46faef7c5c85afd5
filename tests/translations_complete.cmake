# Fails when a message marked for translation in the sources has no Japanese translation in
# po/ja.po, or only a fuzzy one: the messages are taken from the sources with xgettext, the
# catalogue is brought up to them with msgmerge and msgfmt counts what is translated.
#
#   cmake -DSOURCE_DIR=<top of the sources> -DWORK=<a folder for the files made> -P translations_complete.cmake

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h)
list(SORT sources)
file(MAKE_DIRECTORY ${WORK})
execute_process(
  COMMAND xgettext --language=C++ --from-code=UTF-8 --keyword=translated
          --keyword=translatedCount:1,2 --package-name=Kalvenor2003 --output=${WORK}/kalvenor.pot
          ${sources}
  WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "xgettext failed: ${errors}")
endif()
execute_process(
  COMMAND msgmerge --quiet --no-fuzzy-matching --output-file=${WORK}/merged.po
          ${SOURCE_DIR}/po/ja.po ${WORK}/kalvenor.pot
  RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "msgmerge failed: ${errors}")
endif()
execute_process(
  COMMAND msgfmt --statistics --output-file=/dev/null ${WORK}/merged.po
  RESULT_VARIABLE status ERROR_VARIABLE statistics)
if(NOT status EQUAL 0 OR statistics MATCHES "untranslated|fuzzy")
  execute_process(COMMAND msgattrib --untranslated --only-fuzzy --no-obsolete ${WORK}/merged.po
                  OUTPUT_VARIABLE missing)
  execute_process(COMMAND msgattrib --untranslated --no-obsolete ${WORK}/merged.po
                  OUTPUT_VARIABLE untranslated)
  message(FATAL_ERROR "po/ja.po does not translate every message: ${statistics}\n${untranslated}")
endif()
message(STATUS "po/ja.po: ${statistics}")
