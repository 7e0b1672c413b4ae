// The request builder: paths of elements with their ids make one tree, attributes go in the
// form and order given and only when given, and the sensor's answer is judged under the title.
#include "ConfigRequest.h"
#include "MsgManager.h"
#include "SensorTestSupport.h"
#include "TreeText.h"

#include <functional>

namespace {

using fybsim::Element;
using fybsim::Reply;

std::string treeOf(const ConfigRequest &request)
{
    return treetext::print(PXRMsgChild(request.message()));
}

struct BuildCase
{
    const char *name;
    std::function<void(ConfigRequest &)> build;
    const char *tree;
};

void PrintTo(const BuildCase &c, std::ostream *out)
{
    *out << c.name;
}

class ConfigRequestBuildTest : public ::testing::TestWithParam<BuildCase>
{
};

TEST_P(ConfigRequestBuildTest, PathsAndAttributesMakeTheTree)
{
    ConfigRequest request("setConfig");
    GetParam().build(request);
    EXPECT_EQ(treeOf(request), GetParam().tree);
}

const QList<ConfigElement::Step> kCameraOne = {{"config"}, {"cameras"}, {"camera", "1"}};

INSTANTIATE_TEST_SUITE_P(
    Trees, ConfigRequestBuildTest,
    ::testing::Values(
        BuildCase{"RootAlone", [](ConfigRequest &) {}, "setConfig"},
        BuildCase{"CameraOptics",
                  [](ConfigRequest &r) {
                      r.path({{"config"}, {"cameras"}, {"camera", "0"}, {"optics"}}).set("zoom", 12).set("irCut", true);
                  },
                  "setConfig{config{cameras{camera(id=0){optics(zoom=12,irCut=1)}}}}"},
        BuildCase{"LightingPower",
                  [](ConfigRequest &r) { r.path({{"config"}, {"lightings"}, {"led", "2"}}).set("power", 75u); },
                  "setConfig{config{lightings{led(id=2,power=75)}}}"},
        BuildCase{"EveryKindOfValue",
                  [](ConfigRequest &r) {
                      r.path({{"config"}, {"device"}})
                          .set("label", QString::fromUtf8("Entr\xc3\xa9" "e"))
                          .set("mode", "auto")
                          .set("offset", -5)
                          .set("limit", 4000000000u)
                          .set("enabled", false);
                  },
                  "setConfig{config{device(label=Entr\xc3\xa9" "e,mode=auto,offset=-5,limit=4000000000,enabled=0)}}"},
        BuildCase{"ValuesNotGivenAreNotSet",
                  [](ConfigRequest &r) {
                      r.path({{"config"}, {"cameras"}, {"camera", "0"}, {"anpr"}})
                          .set("direction", std::optional<QString>())
                          .set("context", std::optional<QString>("FR"))
                          .set("timeout", std::optional<unsigned>())
                          .set("counting", std::optional<bool>(false));
                  },
                  "setConfig{config{cameras{camera(id=0){anpr(context=FR,counting=0)}}}}"},
        BuildCase{"PathsSharingAStartMakeOneTree",
                  [](ConfigRequest &r) {
                      r.path(kCameraOne + QList<ConfigElement::Step>{{"anpr"}}).set("direction", "both");
                      r.path({{"config"}, {"cameras"}, {"camera", "2"}, {"dgpr"}});
                      r.path(kCameraOne + QList<ConfigElement::Step>{{"anpr"}, {"ocr"}}).set("minReliability", 80);
                  },
                  "setConfig{config{cameras{camera(id=1){anpr(direction=both){ocr(minReliability=80)}},"
                  "camera(id=2){dgpr}}}}"},
        BuildCase{"AnEmptyIdIsAnIdAndNoIdIsNone",
                  [](ConfigRequest &r) {
                      r.path({{"config"}, {"cameras"}, {"camera", ""}}).set("a", 1);
                      r.path({{"config"}, {"cameras"}, {"camera"}}).set("b", 2);
                      r.path({{"config"}, {"cameras"}, {"camera", ""}}).set("c", 3);
                  },
                  "setConfig{config{cameras{camera(id=,a=1,c=3),camera(b=2)}}}"},
        BuildCase{"CopiesGoWhole",
                  [](ConfigRequest &r) {
                      PXRMsgElement *saved = treetext::parse("config(version=3){network(dhcp=1),lightings{led(id=1)}}");
                      r.root().addCopy(saved);
                      r.root().addCopy(nullptr);
                      PXRMsgElementSetAttribute(saved, "version", "4");
                      PXRMsgElementDestroy(saved);
                  },
                  "setConfig{config(version=3){network(dhcp=1),lightings{led(id=1)}}}"}),
    [](const ::testing::TestParamInfo<BuildCase> &info) { return std::string(info.param.name); });

struct AnswerCase
{
    const char *name;
    Reply reply;
    bool accepted;
    const char *text; // null: no box
    const char *details; // null: not looked at
};

void PrintTo(const AnswerCase &c, std::ostream *out)
{
    *out << c.name;
}

class ConfigRequestSendTest : public MasterSensorTest, public ::testing::WithParamInterface<AnswerCase>
{
};

TEST_P(ConfigRequestSendTest, TheTreeReachesTheSensorAndItsAnswerIsJudgedUnderTheTitle)
{
    const AnswerCase &c = GetParam();
    server.setReply("setConfig", c.reply);
    BoxRecorder boxes;
    ConfigRequest request("setConfig");
    request.path({{"config"}, {"cameras"}, {"camera", "0"}, {"optics"}}).set("zoom", 40);

    const fybsim::FybSensor::Mark mark = server.mark();
    EXPECT_EQ(request.send(nullptr, "Configuration"), c.accepted);

    const std::optional<fybsim::Received> got = server.waitForRoot(mark, "setConfig", 15s);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got->message.root,
              Element("setConfig").add(Element("config").add(Element("cameras").add(
                  Element("camera").set("id", "0").add(Element("optics").set("zoom", "40"))))));
    if (c.text == nullptr) {
        EXPECT_TRUE(boxes.boxes.isEmpty());
        return;
    }
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes.boxes[0].title, QString("Configuration"));
    EXPECT_EQ(boxes.boxes[0].text, QString(c.text));
    if (c.details != nullptr) {
        EXPECT_EQ(boxes.boxes[0].details, QString::fromUtf8(c.details));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ConfigRequestSendTest,
    ::testing::Values(AnswerCase{"Accepted", Reply::ok(), true, nullptr, nullptr},
                      AnswerCase{"Refused", Reply::failed("Zoom out of range"), false, "Error : action failed",
                                 "Zoom out of range"},
                      AnswerCase{"NoAnswer", Reply::close(), false, "Error : no answer from equipment", nullptr}),
    [](const ::testing::TestParamInfo<AnswerCase> &info) { return std::string(info.param.name); });

} // namespace
