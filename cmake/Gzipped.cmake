# kelvaro_install_gzipped(<target> <file> <destination>)
# Compresses <file>, which the build makes in the build tree, as Debian's
# policy wants manual pages and changelogs (gzip -9, no time stamp), in a
# target <target> of the default build, and installs <file>.gz to
# <destination>.
function(kelvaro_install_gzipped target file destination)
  add_custom_command(OUTPUT "${file}.gz"
    COMMAND gzip -9 -n -f -k "${file}"
    DEPENDS "${file}" VERBATIM)
  add_custom_target(${target} ALL DEPENDS "${file}.gz")
  install(FILES "${file}.gz" DESTINATION "${destination}")
endfunction()
