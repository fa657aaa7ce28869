# Img_Prev's picture, stored with the program: the JPEG's bytes built into the host's shell.
set(preview_picture_jpeg "${PROJECT_SOURCE_DIR}/assets/preview/Img_Prev.jpg")
set(preview_picture_source "${CMAKE_CURRENT_BINARY_DIR}/preview_picture_data.cpp")
add_custom_command(OUTPUT "${preview_picture_source}"
  COMMAND "${CMAKE_COMMAND}" -DINPUT=${preview_picture_jpeg} -DOUTPUT=${preview_picture_source}
    -DFUNCTION=orvane::PreviewPictureJpeg -P "${PROJECT_SOURCE_DIR}/assets/preview/embed_bytes.cmake"
  DEPENDS "${preview_picture_jpeg}" "${PROJECT_SOURCE_DIR}/assets/preview/embed_bytes.cmake"
  COMMENT "Building in the preview picture")
target_sources(orvane_host_shell PRIVATE "${preview_picture_source}")
