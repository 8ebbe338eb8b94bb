# Manual pages made from each program's --help and --version by help2man,
# with a description and the environment from an include file. Built with
# everything, not with the programs alone, so the run command never waits
# for them; installed into man1.
find_program(HELP2MAN help2man REQUIRED)

# harness_add_manpage(<target> <one-line description> <include file>)
function(harness_add_manpage target description include)
    set(output ${CMAKE_BINARY_DIR}/man/${target}.1.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
            ${HELP2MAN} --no-info --section=1 --name=${description} --include=${include}
            --output=${CMAKE_BINARY_DIR}/man/${target}.1 $<TARGET_FILE:${target}>
        COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/man/${target}.1
        DEPENDS ${target} ${include}
        COMMENT "Manual page for ${target}"
        VERBATIM)
    add_custom_target(${target}_manpage ALL DEPENDS ${output})
    install(FILES ${output} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
