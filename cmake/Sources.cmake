# Splits each subsystem folder into core sources (plain C++) and Qt sources.
# Qt files are recognised by name: *_view.*, *_tab.*, qt_*.*, main_window.*;
# *_main.cpp files are program entry points and belong to neither library.
set(ZELOR_QT_FILE_REGEX "/(qt_[^/]*|[^/]*_view\\.[^/]*|[^/]*_tab\\.[^/]*|main_window\\.[^/]*)$")

function(zelor_collect_sources core_var ui_var)
  set(core "")
  set(ui "")
  foreach(dir ${ARGN})
    file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.h)
    foreach(f ${files})
      if(f MATCHES "_main\\.cpp$")
        continue()
      elseif(f MATCHES "${ZELOR_QT_FILE_REGEX}")
        list(APPEND ui ${f})
      else()
        list(APPEND core ${f})
      endif()
    endforeach()
  endforeach()
  set(${core_var} ${core} PARENT_SCOPE)
  set(${ui_var} ${ui} PARENT_SCOPE)
endfunction()
