# The compiled brain: every data/brain/*.brain, in file-name order, becomes
# ${TAMZEL_HOME}/ai/brainfile.ai. The starter brain (00-starter.brain) stands in only while
# it is the sole source: its rules would otherwise answer before those of the real brain.
file(GLOB brain_sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/brain/*.brain")
list(SORT brain_sources)
set(starter_brain "${CMAKE_CURRENT_SOURCE_DIR}/brain/00-starter.brain")
list(LENGTH brain_sources brain_source_count)
if(brain_source_count GREATER 1)
  list(REMOVE_ITEM brain_sources "${starter_brain}")
endif()

# The coverage report compiles the same sources itself, to name their lines.
set_property(GLOBAL PROPERTY TAMZEL_BRAIN_SOURCES ${brain_sources})

set(brain_file "${TAMZEL_HOME}/ai/brainfile.ai")
add_custom_command(
  OUTPUT "${brain_file}"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${TAMZEL_HOME}/ai"
  COMMAND tamzel-brainc ${brain_sources} "${brain_file}"
  DEPENDS ${brain_sources} tamzel-brainc
  COMMENT "Compiling the brain into ${brain_file}"
  VERBATIM)
add_custom_target(brain_file DEPENDS "${brain_file}")
add_dependencies(program_folder brain_file)
