# harness_add_component(<name> <sources and metadata json>...)
# Builds a balloon component plugin, as an author's project does, into the
# folder the programs search.
function(harness_add_component name)
    balloon_harness_add_component(${name} ${ARGN})
    set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${HARNESS_COMPONENT_DIR})
endfunction()
