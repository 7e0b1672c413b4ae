// What a sensor sends around its video, for tests of the video page: pictures as video messages,
// the messages of a vehicle passage, still-picture answers, and configurations with a slave
// sensor and an area of interest.
#include "SensorScenes.h"

namespace fybsim {

namespace {

Element anpr(const std::string& session, std::int64_t dateMs, Element child) {
  return Element("anpr").set("session", session).set("date", std::to_string(dateMs)).add(std::move(child));
}

Element zoneElement(const ZoneSetup& zone) {
  Element element("areaOfInterest");
  element.set("enabled", zone.enabled ? "1" : "0").set("excludingZone", zone.excluding ? "1" : "0");
  if (zone.rect) {
    const char* names[] = {"x", "y", "width", "height"};
    for (std::size_t i = 0; i < 4 && i < zone.rect->size(); ++i) element.set(names[i], std::to_string((*zone.rect)[i]));
    return element;
  }
  for (std::size_t i = 0; i < zone.points.size(); ++i)
    element.add(Element("point" + std::to_string(i + 1))
                    .set("x", std::to_string(zone.points[i].first))
                    .set("y", std::to_string(zone.points[i].second)));
  return element;
}

}  // namespace

Element videoMessage(const Picture& picture, std::string_view codec, std::int64_t dateMs, std::string_view camera) {
  Element video("video");
  video.set("codec", codec).set("cameraId", camera).set("date", std::to_string(dateMs));
  if (picture.key) video.set("key", "1");
  return video.add(Element("data").withContent(picture.bytes));
}

std::size_t streamPictures(FybSensor& sensor, const std::vector<Picture>& pictures, std::string_view codec,
                           std::int64_t firstDateMs) {
  std::size_t written = 0;
  for (std::size_t i = 0; i < pictures.size(); ++i)
    if (sensor.push(videoMessage(pictures[i], codec, firstDateMs + std::int64_t(i) * kPictureGapMs)) > 0) ++written;
  return written;
}

std::vector<Element> passageMessages(const Passage& p) {
  std::vector<Element> messages;
  messages.push_back(anpr(p.session, p.startMs, Element("new")));
  messages.push_back(anpr(p.session, p.startMs + kPictureGapMs,
                          Element("decision")
                              .set("plate", p.plate)
                              .set("context", p.context)
                              .set("reliability", p.reliability)
                              .set("width", p.width)
                              .set("height", p.height)));
  if (p.speedKmh)
    messages.push_back(anpr(p.session, p.startMs + kPictureGapMs, Element("speed").set("instantSpeed_km_h", *p.speedKmh)));
  messages.push_back(anpr(p.session, p.endMs, Element("end")));
  return messages;
}

std::size_t pushPassage(FybSensor& sensor, const Passage& passage) {
  std::size_t written = 0;
  for (const Element& message : passageMessages(passage))
    if (sensor.push(message) > 0) ++written;
  return written;
}

Reply imageReply(std::string_view childName, std::string bytes) {
  return Reply::message(Element("image").add(Element(std::string(childName)).withContent(std::move(bytes))));
}

Element configuration(const std::optional<SlaveSetup>& slave, const std::optional<ZoneSetup>& zone) {
  Element camera("camera");
  camera.set("id", "0");
  if (zone) camera.add(zoneElement(*zone));
  Element config("config");
  config.add(Element("cameras").add(std::move(camera)));
  if (slave) {
    Element slaveAnpr("slaveAnpr");
    slaveAnpr.set("macAddress", "00:11:22:33:44:55");
    if (slave->position) slaveAnpr.set("position", *slave->position);
    if (slave->coveringZone) slaveAnpr.set("coveringZone", *slave->coveringZone);
    config.add(Element("slaves").set("mode", slave->mode).add(std::move(slaveAnpr)));
  }
  return config;
}

Element infosWithTexts(const std::string& text) {
  Element cameras("cameras");
  for (const char* id : {"0", "1"})
    cameras.add(Element("camera").set("id", id).set("cameraModel", text));
  return Element("infos")
      .add(Element("sensor").set("serial", text).set("productVersion", text))
      .add(std::move(cameras));
}

}  // namespace fybsim
