# The game's icon in every size, drawn by tools/icons.py into the build folder: the window's
# sizes as a header compiled into the game, and the PNG and SVG files that `make install` puts
# where a desktop looks. add_window_icon(TARGET) makes them before TARGET is compiled.
function(add_window_icon target)
  set(root ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/..)
  set(header ${CMAKE_BINARY_DIR}/generated/window_icon.h)
  set(files ${CMAKE_BINARY_DIR}/icons/hicolor/scalable/apps/vinkla.svg)
  foreach(size 16 24 32 48 64 128 256)
    list(APPEND files ${CMAKE_BINARY_DIR}/icons/hicolor/${size}x${size}/apps/vinkla.png)
  endforeach()
  add_custom_command(
    OUTPUT ${header} ${files}
    COMMAND /usr/bin/python3 -B ${root}/tools/icons.py ${header} ${CMAKE_BINARY_DIR}/icons
    DEPENDS ${root}/tools/icons.py ${root}/tools/gen/icon.py ${root}/tools/gen/pictures.py
            ${root}/tools/gen/common.py
    COMMENT "Drawing the icons")
  target_sources(${target} PRIVATE ${header} ${files})
  target_include_directories(${target} PRIVATE ${CMAKE_BINARY_DIR}/generated)
endfunction()
