# harness_add_component(<name> <sources and metadata json>...)
# Builds a balloon component plugin into the folder the harness searches.
function(harness_add_component name)
    # Qt 6.4's qt_add_plugin takes no sources of its own.
    qt_add_plugin(${name} SHARED)
    target_sources(${name} PRIVATE ${ARGN})
    target_link_libraries(${name} PRIVATE harness_component Qt6::Widgets)
    set_target_properties(${name} PROPERTIES
        LIBRARY_OUTPUT_DIRECTORY ${HARNESS_COMPONENT_DIR}
        PREFIX "")
endfunction()
