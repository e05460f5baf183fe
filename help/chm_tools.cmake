# velquior_chm_fix over chmlib, a tool of the build machine. Included by
# help/CMakeLists.txt where the build compiles for the build machine, and by
# help/native when it does not. Expects VELQUIOR_SOURCE_DIR, the sources' root.
find_path(CHMLIB_INCLUDE_DIR chm_lib.h)
find_library(CHMLIB_LIBRARY chm)
if(NOT CHMLIB_INCLUDE_DIR OR NOT CHMLIB_LIBRARY)
  message(FATAL_ERROR "chmlib is missing: install the package libchm-dev (scripts/install-deps.sh does it)")
endif()

# Rewriting the compiler's output: a library the tests call, and the tool the
# build runs on the freshly compiled file.
set(chm_tool_dir "${VELQUIOR_SOURCE_DIR}/help")
add_library(velquior_chm_repack STATIC
  ${chm_tool_dir}/chm_repack.cpp
  ${chm_tool_dir}/compiler_variance.cpp
  ${chm_tool_dir}/context_strings.cpp
  ${chm_tool_dir}/itsf_directory.cpp
  ${chm_tool_dir}/itsf_writer.cpp
  ${chm_tool_dir}/lzx_stored.cpp
)
target_include_directories(velquior_chm_repack PUBLIC ${VELQUIOR_SOURCE_DIR} ${CHMLIB_INCLUDE_DIR})
target_link_libraries(velquior_chm_repack PUBLIC ${CHMLIB_LIBRARY})
add_executable(velquior_chm_fix ${chm_tool_dir}/chm_fix_main.cpp)
target_link_libraries(velquior_chm_fix PRIVATE velquior_chm_repack)
