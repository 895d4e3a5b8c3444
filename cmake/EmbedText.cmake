# Writes a C++ source that holds the text of INPUT as the constant NAME in namespace NAMESPACE,
# so that the program carries its own schema and needs no file beside it.
file(READ "${INPUT}" text)
file(WRITE "${OUTPUT}" "// Generated from ${INPUT}; edit that file instead.\n"
    "#include <string_view>\n"
    "namespace ${NAMESPACE} {\n"
    "extern const std::string_view ${NAME};\n"
    "const std::string_view ${NAME} = R\"tavrix(${text})tavrix\";\n"
    "}\n")
