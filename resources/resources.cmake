# tavolin_add_resources(<target>): links the program's resources (icons,
# images, manifest, version information) into a Windows executable.
#
# The resource compiler reads the icon and manifest files itself, so the
# build does not see them as inputs of tavolin.rc; they are named here so
# that a changed icon rebuilds the resources.
set(TAVOLIN_RESOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(TAVOLIN_RESOURCE_INPUTS
  ${TAVOLIN_RESOURCE_DIR}/version.h
  ${TAVOLIN_RESOURCE_DIR}/app.manifest
  ${TAVOLIN_RESOURCE_DIR}/icons/app.ico
  ${TAVOLIN_RESOURCE_DIR}/icons/image1.ico
  ${TAVOLIN_RESOURCE_DIR}/icons/image2.ico
  ${TAVOLIN_RESOURCE_DIR}/icons/image3.ico
  ${TAVOLIN_RESOURCE_DIR}/icons/image4.ico
  ${TAVOLIN_RESOURCE_DIR}/icons/image5.ico)

function(tavolin_add_resources target)
  target_sources(${target} PRIVATE ${TAVOLIN_RESOURCE_DIR}/tavolin.rc)
  target_include_directories(${target} PRIVATE ${TAVOLIN_RESOURCE_DIR})
  # A source file's properties belong to the directory that adds it.
  set_source_files_properties(${TAVOLIN_RESOURCE_DIR}/tavolin.rc PROPERTIES
    OBJECT_DEPENDS "${TAVOLIN_RESOURCE_INPUTS}")
endfunction()
