// The recognition messages the test sensor pushes.
#include "RecognitionPushes.h"

namespace fybsim {
namespace {

Element root(const char* name, int session, std::int64_t date) {
  Element e(name);
  e.set("session", std::to_string(session)).set("date", std::to_string(date));
  return e;
}

void setIf(Element& e, const char* key, const std::string& value) {
  if (!value.empty())
    e.set(key, value);
}

Element plateElement(const char* name, const PlateRead& read) {
  Element e(name);
  setIf(e, "plate", read.plate);
  setIf(e, "context", read.context);
  setIf(e, "reliability", read.reliability);
  if (read.width != 0 || read.height != 0) {
    e.set("x", std::to_string(read.x)).set("y", std::to_string(read.y));
    e.set("width", std::to_string(read.width)).set("height", std::to_string(read.height));
  }
  setIf(e, "sinus", read.sinus);
  if (!read.charReliabilities.empty()) {
    Element perCharacter("reliabilityPerCharacter");
    for (const std::string& value : read.charReliabilities) {
      Element c("char");
      setIf(c, "reliability", value);
      perCharacter.add(c);
    }
    e.add(perCharacter);
  }
  if (!read.jpeg.empty())
    e.add(Element("jpeg").withContent(read.jpeg));
  if (!read.contextJpeg.empty())
    e.add(Element("contextJpeg").withContent(read.contextJpeg));
  return e;
}

}  // namespace

Element passageStart(int session, std::int64_t date) {
  return root("anpr", session, date).add(Element("new"));
}

Element passageDecision(int session, std::int64_t date, const PlateRead& read) {
  Element e = root("anpr", session, date);
  setIf(e, "plateFrom", read.plateFrom);
  return e.add(plateElement("decision", read));
}

Element passageSpeed(int session, std::int64_t date, const Speed& speed) {
  Element s("speed");
  setIf(s, "instantSpeed_km_h", speed.kmh);
  setIf(s, "interdistance_m", speed.interdistanceM);
  setIf(s, "interdistance_ms", speed.interdistanceMs);
  setIf(s, "reliability_speed", speed.reliability);
  return root("anpr", session, date).add(s);
}

Element passageEnd(int session, std::int64_t date, const std::string& countingTrajectory) {
  Element end("end");
  setIf(end, "countingTrajectory", countingTrajectory);
  return root("anpr", session, date).add(end);
}

Element triggerResult(const std::string& triggerId, std::int64_t date, const PlateRead* read) {
  Element e("triggerResult");
  e.set("triggerId", triggerId).set("date", std::to_string(date));
  return e.add(read != nullptr ? plateElement("decision", *read) : Element("noPlate"));
}

Element signatureDecision(int session, std::int64_t date, const std::string& plate, const std::string& signature) {
  Element decision("decision");
  decision.set("plate", plate).add(Element("signatureData").withContent(signature));
  return root("signature", session, date).add(decision);
}

Element ioState(std::int64_t date, bool on) {
  Element e("ioState");
  e.set("date", std::to_string(date)).set("state", on ? "true" : "false");
  return e.add(Element("input").set("id", "1"));
}

}  // namespace fybsim
