# Writes the schema file INPUT as the C++ source OUTPUT: its bytes and a final zero in one
# constant array, with the array's size.
file(READ "${INPUT}" HEX_CONTENT HEX)
string(LENGTH "${HEX_CONTENT}" HEX_LENGTH)
math(EXPR SIZE "${HEX_LENGTH} / 2 + 1")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," BYTES "${HEX_CONTENT}")
file(WRITE "${OUTPUT}"
  "/* Generated from lib/pxr/src/bridge/schema/KGV.xsd at build: the schema the bridge answers getXSD with. */\n"
  "#include <stdint.h>\n\n"
  "extern \"C\" {\n"
  "extern const char g_acPxrltSchema[];\n"
  "extern const uint32_t g_u32PxrltSchemaSize;\n"
  "const char g_acPxrltSchema[] = {${BYTES}'\\0'};\n"
  "const uint32_t g_u32PxrltSchemaSize = ${SIZE};\n"
  "}\n")
