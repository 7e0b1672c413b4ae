/* Loading a large sensor schema into the schema store, beside a bare Expat pass over the
 * same text (no handlers): the store's own cost is the difference. */
#include <benchmark/benchmark.h>

#include <expat.h>

#include <string>

#include "PXR.h"
#include "SchemaDoc.h"

namespace {

std::string Documentation(const std::string &sWhat) {
  return "<xs:annotation><xs:documentation>The " + sWhat +
         ", as the sensor applies it.<br/>Changing it takes effect at once; see the <b>manual</b>."
         "</xs:documentation></xs:annotation>";
}

/* Three attributes with a documented enumeration of five values, three with a range. */
std::string Attributes(int iIndex) {
  std::string sText;
  for (int a = 0; a < 3; a++) {
    const std::string sName = "setting" + std::to_string(iIndex) + "_" + std::to_string(a);
    sText += "<xs:attribute name=\"" + sName + "\" use=\"optional\">" + Documentation(sName) +
             "<xs:simpleType><xs:restriction base=\"xs:string\">";
    for (int v = 0; v < 5; v++)
      sText += "<xs:enumeration value=\"value" + std::to_string(v) + "\">" + Documentation("value") +
               "</xs:enumeration>";
    sText += "</xs:restriction></xs:simpleType></xs:attribute>";
    sText += "<xs:attribute name=\"level" + std::to_string(a) + "\">" + Documentation("level") +
             "<xs:simpleType><xs:restriction base=\"xs:int\"><xs:minInclusive value=\"1\"/>"
             "<xs:maxInclusive value=\"60\"/></xs:restriction></xs:simpleType></xs:attribute>";
  }
  return sText;
}

/* About 150 messages, each with properties and two levels of nested, documented elements. */
std::string LargeSchema() {
  std::string sText = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">"
                      "<xs:annotation><xs:appinfo><title>Benchmark sensor</title></xs:appinfo></xs:annotation>";
  for (int m = 0; m < 150; m++) {
    const std::string sName = "message" + std::to_string(m);
    sText += "<xs:element name=\"" + sName + "\" substitutionGroup=\"msgTypes\"><xs:annotation>"
             "<xs:documentation>The message " + sName + ".</xs:documentation><xs:appinfo><clientToServer/>"
             "<synchronous><answer value=\"answer\" text=\"done\"/></synchronous><needsLock/></xs:appinfo>"
             "</xs:annotation><xs:complexType><xs:sequence>";
    for (int e = 0; e < 3; e++) {
      sText += "<xs:element name=\"part" + std::to_string(e) + "\" minOccurs=\"0\">" + Documentation("part") +
               "<xs:complexType><xs:all><xs:element name=\"detail\"><xs:complexType>" + Attributes(e) +
               "</xs:complexType></xs:element></xs:all>" + Attributes(e + 10) + "</xs:complexType></xs:element>";
    }
    sText += "</xs:sequence><xs:attribute name=\"id\" type=\"xs:string\"/></xs:complexType></xs:element>";
  }
  return sText + "</xs:schema>";
}

const std::string &Schema() {
  static const std::string sText = LargeSchema();
  return sText;
}

void BM_ExpatBarePass(benchmark::State &state) {
  const std::string &sText = Schema();
  for (auto _ : state) {
    XML_Parser psParser = XML_ParserCreate(nullptr);
    const bool bParsed = XML_Parse(psParser, sText.data(), int(sText.size()), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(psParser);
    if (!bParsed)
      state.SkipWithError("the generated schema does not parse");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sText.size()));
}
BENCHMARK(BM_ExpatBarePass)->Unit(benchmark::kMillisecond);

void BM_SchemaDocLoad(benchmark::State &state) {
  PXR_initLibrary();
  const std::string &sText = Schema();
  SchemaDoc sSchema;
  for (auto _ : state) {
    if (!sSchema.load(sText.data(), int(sText.size())))
      state.SkipWithError("the generated schema does not load");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sText.size()));
  state.counters["MB"] = double(sText.size()) / 1e6;
  state.counters["messages"] = double(sSchema.appInfo({"clientToServer"}, {}).size());
}
BENCHMARK(BM_SchemaDocLoad)->Unit(benchmark::kMillisecond);

}  // namespace
