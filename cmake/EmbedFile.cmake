# kelvaro_embed_file(<target> <input file> <symbol>)
# Compiles the bytes of <input file> into <target> as
#   extern const unsigned char <symbol>[]; extern const std::size_t <symbol>Size;
# so that the data is part of the program and needs no file at run time.
function(kelvaro_embed_file target input symbol)
  set(output "${CMAKE_CURRENT_BINARY_DIR}/${symbol}.cpp")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND "${CMAKE_COMMAND}" -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P "${PROJECT_SOURCE_DIR}/cmake/EmbedFileScript.cmake"
    DEPENDS "${input}" "${PROJECT_SOURCE_DIR}/cmake/EmbedFileScript.cmake"
    COMMENT "Embedding ${input}"
    VERBATIM)
  target_sources(${target} PRIVATE "${output}")
endfunction()
