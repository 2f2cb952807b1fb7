# The project's source folders and how their files split into libraries.
# Qt files are recognised by name: *_view.*, *_tab.*, qt_*.*, main_window.*;
# *_main.cpp files are program entry points and belong to no library.
# Code for one kind of system lives in a subfolder named for it: <folder>/posix/ (built on
# POSIX systems) and <folder>/windows/ (built on Windows); everything else is portable.

# The core library's folders (zelor_core), and the simulator's (zelor_sim, on top of the core).
set(ZELOR_CORE_FOLDERS link model service config automation upgrade widgets)
set(ZELOR_SIM_FOLDERS sim)
# Qt adapters that need QtCore and QtSerialPort only (zelor_qtcore): the window and the
# command-line program both stand on them.
set(ZELOR_QTCORE_FOLDERS qtcore)

set(ZELOR_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/..")
cmake_path(NORMAL_PATH ZELOR_SOURCE_ROOT)
set(ZELOR_QT_FILE_REGEX "/(qt_[^/]*|[^/]*_view\\.[^/]*|[^/]*_tab\\.[^/]*|main_window\\.[^/]*)$")

# Globs re-run at build time in a project, once in script mode (which refuses the flag).
if(CMAKE_SCRIPT_MODE_FILE)
  set(ZELOR_GLOB_FLAGS "")
else()
  set(ZELOR_GLOB_FLAGS CONFIGURE_DEPENDS)
endif()

# The system subfolder the build takes: posix or windows.
if(WIN32)
  set(ZELOR_PLATFORM_FOLDER windows)
else()
  set(ZELOR_PLATFORM_FOLDER posix)
endif()

# zelor_collect_sources(<core var> <ui var> <platform folder> <folder>...)
function(zelor_collect_sources core_var ui_var platform)
  set(core "")
  set(ui "")
  foreach(dir ${ARGN})
    file(GLOB files ${ZELOR_GLOB_FLAGS}
      ${ZELOR_SOURCE_ROOT}/${dir}/*.cpp ${ZELOR_SOURCE_ROOT}/${dir}/*.h
      ${ZELOR_SOURCE_ROOT}/${dir}/${platform}/*.cpp ${ZELOR_SOURCE_ROOT}/${dir}/${platform}/*.h)
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

# zelor_collect_mains(<var> <platform folder> <folder>...): the program entry points.
function(zelor_collect_mains var platform)
  set(mains "")
  foreach(dir ${ARGN})
    file(GLOB files ${ZELOR_GLOB_FLAGS} ${ZELOR_SOURCE_ROOT}/${dir}/*_main.cpp ${ZELOR_SOURCE_ROOT}/${dir}/${platform}/*_main.cpp)
    list(APPEND mains ${files})
  endforeach()
  set(${var} ${mains} PARENT_SCOPE)
endfunction()
