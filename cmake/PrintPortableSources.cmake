# Prints the core's and the simulator's C++ files and headers for one system, one a line:
#   cmake -DZELOR_PLATFORM=windows -P cmake/PrintPortableSources.cmake
# (used by scripts/check-windows-compile.sh; ZELOR_PLATFORM is posix or windows).
include(${CMAKE_CURRENT_LIST_DIR}/Sources.cmake)
if(NOT ZELOR_PLATFORM)
  set(ZELOR_PLATFORM ${ZELOR_PLATFORM_FOLDER})
endif()
zelor_collect_sources(core ui ${ZELOR_PLATFORM} ${ZELOR_CORE_FOLDERS} ${ZELOR_SIM_FOLDERS})
list(FILTER core INCLUDE REGEX "\\.(cpp|h)$")
foreach(f ${core})
  file(RELATIVE_PATH rel ${ZELOR_SOURCE_ROOT} ${f})
  message(NOTICE "${rel}")
endforeach()
