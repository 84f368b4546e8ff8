# build/demo: the demo playlist that ./run plays; build/media: the same files plus the
# extra cases the tests need. Both are made by one script so they never drift apart.
set(QINGLAN_DEMO_DIR ${CMAKE_BINARY_DIR}/demo)
set(QINGLAN_MEDIA_DIR ${CMAKE_BINARY_DIR}/media)
set(_media_script ${CMAKE_SOURCE_DIR}/scripts/make-media.sh)
add_custom_command(
  OUTPUT ${QINGLAN_DEMO_DIR}/.stamp ${QINGLAN_MEDIA_DIR}/.stamp
  COMMAND ${_media_script} demo ${QINGLAN_DEMO_DIR}
  COMMAND ${_media_script} tests ${QINGLAN_MEDIA_DIR}
  DEPENDS ${_media_script} ${CMAKE_SOURCE_DIR}/scripts/make-media-extra.sh
  COMMENT "Generating demo and test media with ffmpeg"
  VERBATIM)
add_custom_target(media ALL DEPENDS ${QINGLAN_DEMO_DIR}/.stamp ${QINGLAN_MEDIA_DIR}/.stamp)
