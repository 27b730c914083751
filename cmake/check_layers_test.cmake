# Runs check_layers.cmake on small trees of one include each, so that the check cannot quietly
# stop finding faults. Run as: cmake -DWORK_DIR=<scratch folder> -P check_layers_test.cmake
set(check ${CMAKE_CURRENT_LIST_DIR}/check_layers.cmake)

# What the check should say | a file of the tree | its one include.
set(cases
    "fault|src/view/picture.cpp|#include \"editing/picking.h\""
    "fault|src/interaction/commands/line.cpp|#include \"editor/editor.h\""
    "fault|src/interaction/commands/deeper/arc.h|#include \"ui/dialogs.h\""
    "fault|src/document/drawing.cpp|#include <QString>"
    "fault|src/model/program_info.h.in|#include \"view/canvas.h\""
    "fault|tools/blk/export.cpp|#include \"editor/block_list.h\""
    "fault|tools/blk/main.cpp|#include \"ui/main_window.h\""
    "fault|tools/mkfont/deeper/glyph.h|#include \"editor/ui.h\""
    "fine|src/editing/picking.cpp|#include \"view/canvas.h\""
    "fine|src/interaction/commands/line.cpp|#include \"interaction/snap.h\""
    "fine|src/ui/paint_box.cpp|#include <QWidget>"
    "fine|tools/blk/render.cpp|#include \"ui/painter_canvas.h\""
    "fine|tools/blk/render.cpp|#include <QPainter>"
    "fine|tools/mkfont/main.cpp|#include \"mkfont/hershey.h\"")

set(wrong "")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 expected)
  list(GET fields 1 path)
  list(GET fields 2 include)
  file(REMOVE_RECURSE ${WORK_DIR})
  # Every tree has a layer and a tool that are right, so that an empty tree is never the case.
  file(WRITE ${WORK_DIR}/src/model/entity.h "#pragma once\n")
  file(WRITE ${WORK_DIR}/tools/blk/library.cpp "#include \"document/block_file.h\"\n")
  file(WRITE ${WORK_DIR}/${path} "${include}\n")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK_DIR}/src -DTOOLS_DIR=${WORK_DIR}/tools -P ${check}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  string(FIND "${output}" "${path}:" named)
  if(expected STREQUAL "fault" AND result EQUAL 0)
    list(APPEND wrong "${path} with ${include} passed")
  elseif(expected STREQUAL "fault" AND named EQUAL -1)
    list(APPEND wrong "${path} with ${include} failed without naming the file:\n${output}")
  elseif(expected STREQUAL "fine" AND NOT result EQUAL 0)
    list(APPEND wrong "${path} with ${include} failed:\n${output}")
  endif()
endforeach()

# A folder with nothing to check is a mistake in the call, not a clean tree.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/src ${WORK_DIR}/tools)
execute_process(
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK_DIR}/src -DTOOLS_DIR=${WORK_DIR}/tools -P ${check}
  RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(result EQUAL 0)
  list(APPEND wrong "empty src/ and tools/ passed")
endif()
file(REMOVE_RECURSE ${WORK_DIR})

if(wrong)
  list(JOIN wrong "\n" text)
  message(FATAL_ERROR "${text}")
endif()
