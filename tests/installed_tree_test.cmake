# Installs the build into a fresh prefix with cmake --install, as a user would, and checks the
# installed tree: the files a desktop and man look for, --version, and the installed
# kalvenor-render on the installed example drawing the very bytes the build's program draws from
# the sources, without a warning, so default.txt was found in the installed data folder.
# Without any default.txt it still draws, with the warning that names where it looked. A raster
# is read through the installed GDAL module, and without the module the run says which file is
# missing.
#
#   cmake -DBUILD_DIR= -DPREFIX= -DSOURCE_EXAMPLES= -DBUILD_RENDER= -DVERSION= -DBINDIR=
#         -DDATADIR= -DMODULE= -DDOCDIR= -DMANDIR= -DSHAREDIR= -P installed_tree_test.cmake

# Runs a command; fails the test unless it exits with 0. OUT and ERR receive its output.
function(run out err)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE stdout
                  ERROR_VARIABLE stderr)
  if(NOT status EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "${command}\nexited with ${status}:\n${stdout}${stderr}")
  endif()
  set(${out} "${stdout}" PARENT_SCOPE)
  set(${err} "${stderr}" PARENT_SCOPE)
endfunction()

# The picture of the folded-basin example in `examples`, drawn by `program` into `picture`.
function(render program examples picture err)
  set(e ${examples}/folded-basin)
  run(stdout stderr ${program} --model ${e}/model.txt
      --boundary ${e}/limestone_top.txt --boundary ${e}/sandstone_top.txt
      --boundary ${e}/mudstone_top.txt --boundary ${e}/unconformity.txt
      --surface ${e}/topography.txt --colors ${e}/colors.txt --zbase 0
      --contours auto:10 --legend --start 30200,41000 --end 34800,43500 --section-line
      --map ${picture})
  set(${err} "${stderr}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${PREFIX})
run(stdout stderr ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})

set(installed_render ${PREFIX}/${BINDIR}/kalvenor-render)
foreach(file IN ITEMS
        ${BINDIR}/kalvenor ${BINDIR}/kalvenor-render ${DATADIR}/default.txt ${MODULE}
        ${SHAREDIR}/applications/kalvenor.desktop
        ${SHAREDIR}/icons/hicolor/scalable/apps/kalvenor.svg
        ${MANDIR}/man1/kalvenor.1.gz ${MANDIR}/man1/kalvenor-render.1.gz
        ${DOCDIR}/README.md ${DOCDIR}/copyright ${DOCDIR}/docs/example-map.png
        ${DOCDIR}/examples/folded-basin/topography.tif ${DOCDIR}/examples/clipped-dem/dem.tif)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "cmake --install did not install ${file}")
  endif()
endforeach()

run(version stderr ${installed_render} --version)
if(NOT version STREQUAL "kalvenor-render ${VERSION}\n")
  message(FATAL_ERROR "the installed kalvenor-render --version printed \"${version}\"")
endif()

set(work ${PREFIX}-pictures)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
render(${installed_render} ${PREFIX}/${DOCDIR}/examples ${work}/installed.png warnings)
if(NOT warnings STREQUAL "")
  message(FATAL_ERROR "the installed kalvenor-render warned:\n${warnings}")
endif()
render(${BUILD_RENDER} ${SOURCE_EXAMPLES} ${work}/build.png warnings)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${work}/installed.png ${work}/build.png
                RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "the installed and the build's kalvenor-render drew different pictures: "
                      "${work}/installed.png, ${work}/build.png")
endif()

# The example's topography as a GeoTIFF is read through the installed GDAL module; without the
# module the run names the file that is missing.
set(e ${PREFIX}/${DOCDIR}/examples/folded-basin)
set(raster_run ${CMAKE_COMMAND} -E env LC_ALL=C LANGUAGE= ${installed_render}
    --model ${e}/model.txt --boundary ${e}/limestone_top.txt --boundary ${e}/sandstone_top.txt
    --boundary ${e}/mudstone_top.txt --boundary ${e}/unconformity.txt
    --surface ${e}/topography.tif --zbase 0 --map ${work}/raster.png)
run(stdout stderr ${raster_run})
file(REMOVE ${PREFIX}/${MODULE})
execute_process(COMMAND ${raster_run} RESULT_VARIABLE status ERROR_VARIABLE stderr)
set(expected "kalvenor: the GDAL module ${PREFIX}/${MODULE} is missing, so no raster can be read \
or written\n")
if(NOT status EQUAL 2 OR NOT stderr STREQUAL expected)
  message(FATAL_ERROR "without its GDAL module the installed kalvenor-render exited with "
                      "${status} and said:\n${stderr}")
endif()

file(REMOVE ${PREFIX}/${DATADIR}/default.txt)
render(${installed_render} ${PREFIX}/${DOCDIR}/examples ${work}/without-defaults.png warnings)
set(expected "kalvenor-render: warning: ${PREFIX}/${BINDIR}/default.txt: the file cannot be \
opened: there is no such file, nor is there ${PREFIX}/${DATADIR}/default.txt; the built-in view \
225, 30, 1.2, 2 is used\n")
if(NOT warnings STREQUAL expected)
  message(FATAL_ERROR "without default.txt the installed kalvenor-render said:\n${warnings}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${work}/without-defaults.png ${work}/build.png
                RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "the built-in view drew another picture than the shipped default.txt")
endif()
file(REMOVE_RECURSE ${PREFIX} ${work})
message(STATUS "the installed tree draws the example as the build does")
