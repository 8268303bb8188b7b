# The pronunciation dictionary: data/dictionary/slovnik.txt (readable source) compiled by
# tamzel-voxc into the scrambled ${TAMZEL_HOME}/files/slovnik.vox.
set(TAMZEL_DICTIONARY_SOURCE "${CMAKE_CURRENT_SOURCE_DIR}/dictionary/slovnik.txt")
set(TAMZEL_DICTIONARY_FILE "${TAMZEL_HOME}/files/slovnik.vox")
add_custom_command(OUTPUT "${TAMZEL_DICTIONARY_FILE}"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${TAMZEL_HOME}/files"
  COMMAND tamzel-voxc "${TAMZEL_DICTIONARY_SOURCE}" "${TAMZEL_DICTIONARY_FILE}"
  DEPENDS tamzel-voxc "${TAMZEL_DICTIONARY_SOURCE}"
  COMMENT "Compiling the pronunciation dictionary files/slovnik.vox"
  VERBATIM)
add_custom_target(speech_dictionary DEPENDS "${TAMZEL_DICTIONARY_FILE}")
add_dependencies(program_folder speech_dictionary)
