# Fails when a source file under src/ includes a layer above its own, or a Qt header below
# src/ui, and when a file under tools/ includes the editor or the window: the tools work on
# libraries through the document layer and below, as the window does. The layers, lowest first;
# run as: cmake -DSOURCE_DIR=<src> [-DTOOLS_DIR=<tools>] -P check_layers.cmake
set(layers model geometry document view editing interaction editor ui)
# blk render and the catalogue draw through the window's Canvas on QPainter, which is built as a
# library of its own for them; nothing else of src/ui is theirs.
set(tool_allowed_ui_headers ui/painter_canvas.h ui/library_catalogue.h)

set(faults "")
set(checked 0)
foreach(layer IN LISTS layers)
  list(FIND layers ${layer} own_rank)
  # A subfolder is part of its layer (interaction/commands/ is interaction).
  file(GLOB_RECURSE files ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp
       ${SOURCE_DIR}/${layer}/*.h.in)
  list(LENGTH files count)
  math(EXPR checked "${checked} + ${count}")
  foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"([a-z_]+)/")
        list(FIND layers ${CMAKE_MATCH_1} rank)
        if(rank GREATER own_rank)
          list(APPEND faults "${file}: ${layer} includes ${CMAKE_MATCH_1}, a layer above it")
        endif()
      elseif(NOT layer STREQUAL "ui" AND line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*)")
        list(APPEND faults "${file}: ${CMAKE_MATCH_1} is Qt, below src/ui")
      endif()
    endforeach()
  endforeach()
endforeach()
# A wrong folder would find nothing and pass: that is a fault of its own.
if(checked EQUAL 0)
  list(APPEND faults "${SOURCE_DIR}: no source files of any layer")
endif()

if(DEFINED TOOLS_DIR)
  file(GLOB_RECURSE files ${TOOLS_DIR}/*.h ${TOOLS_DIR}/*.cpp)
  if(NOT files)
    list(APPEND faults "${TOOLS_DIR}: no source files of any tool")
  endif()
  foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"((editor|ui)/[^\"]*)\"")
        list(FIND tool_allowed_ui_headers ${CMAKE_MATCH_1} allowed)
        if(allowed EQUAL -1)
          list(APPEND faults "${file}: a tool includes ${CMAKE_MATCH_1}, the editor or the window")
        endif()
      endif()
    endforeach()
  endforeach()
endif()

if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "${text}")
endif()
