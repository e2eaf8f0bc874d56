# Copies the broker receiver program once per resource-editor name.
foreach(n ${NAMES})
  file(COPY_FILE ${SOURCE} ${FOLDER}/${n}.exe ONLY_IF_DIFFERENT)
endforeach()
