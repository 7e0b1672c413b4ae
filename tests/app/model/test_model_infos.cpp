// Facts the model derives from its kept trees: cameras and their order, sizes, algorithms,
// lightings, flags, rescaled coordinates, zones and LED current ranges.
#include "ModelTestSupport.h"

namespace {

struct Size {
    int width = 0, height = 0;
    bool operator==(const Size &) const = default;
};

void PrintTo(const Size &size, std::ostream *out)
{
    *out << size.width << "x" << size.height;
}

Element algorithms(std::initializer_list<const char *> names)
{
    Element list("enabledAlgorithms");
    for (const char *name : names)
        list.add(Element(name));
    return list;
}

} // namespace

class ModelInfosTest : public ModelTest
{
protected:
    void keepInfos(Element cameras, Element extra = Element("anpr"))
    {
        push(Element("infos")
                 .add(Element("sensor").set("productVersion", "6.2.1").set("setConfigForbidden", "true"))
                 .add(Element("security").set("lockPasswordNeeded", "1"))
                 .add(std::move(cameras))
                 .add(std::move(extra)));
        model->parseInfos();
    }
    Size cameraSize(const char *id)
    {
        Size size;
        model->cameraSize(id, &size.width, &size.height);
        return size;
    }
    Size stillSize(const char *id)
    {
        Size size;
        model->stillPictureSize(id, &size.width, &size.height);
        return size;
    }
};

TEST_F(ModelInfosTest, CamerasAreOrderedByTheirIdTextAndUnknownIdsAddNoCamera)
{
    keepInfos(Element("cameras").add(camera("2", {{"cameraModel", "two"}})).add(camera("10")).add(camera("1")));

    ASSERT_EQ(model->cameraCount(), 3);
    EXPECT_EQ(model->cameraId(0), "1");
    EXPECT_EQ(model->cameraId(1), "10");
    EXPECT_EQ(model->cameraId(2), "2");
    EXPECT_EQ(model->cameraId(3), "");
    EXPECT_EQ(model->cameraId(-1), "");
    EXPECT_EQ(model->cameraLabel("2"), "[2] two");
    EXPECT_EQ(model->cameraLabel("7"), "[7] ");
    EXPECT_EQ(model->lightingLabel("led=9"), "[led=9] ");
    EXPECT_TRUE(model->enabledAlgorithms("8").isEmpty());
    EXPECT_EQ(model->cameraCount(), 3);
    EXPECT_EQ(model->cameraId(3), "");
}

TEST_F(ModelInfosTest, FlagsVersionContextsAndAlgorithmsComeFromTheInformation)
{
    keepInfos(Element("cameras").add(camera("0").add(algorithms({"anpr", "dgpr"}))),
              Element("anpr").set("possibleContexts", "FRA,ESP"));

    EXPECT_EQ(model->productVersion(), "6.2.1");
    EXPECT_EQ(model->possibleContexts(), "FRA,ESP");
    EXPECT_TRUE(model->configForbidden());
    EXPECT_TRUE(model->lockPasswordNeeded());
    EXPECT_EQ(model->enabledAlgorithms("0"), QStringList({"anpr", "dgpr"}));
}

TEST_F(ModelInfosTest, CameraSizeFromItsTextOrDefaults)
{
    keepInfos(Element("cameras")
                  .add(camera("0", {{"size", "1280x960"}}))
                  .add(camera("1", {{"size", "1280"}}))
                  .add(camera("2"))
                  .add(camera("3", {{"size", "axb"}}))
                  .add(camera("4", {{"size", "1x2x3"}})));

    EXPECT_EQ(cameraSize("0"), (Size{1280, 960}));
    EXPECT_EQ(cameraSize("1"), (Size{720, 288}));
    EXPECT_EQ(cameraSize("2"), (Size{1920, 1080}));
    EXPECT_EQ(cameraSize("3"), (Size{0, 0}));
    EXPECT_EQ(cameraSize("4"), (Size{720, 288}));
    EXPECT_EQ(cameraSize("99"), (Size{720, 288}));
}

TEST_F(ModelInfosTest, StillPictureSizeFromTheConfigurationElseTheCameraSize)
{
    keepInfos(Element("cameras").add(camera("0", {{"size", "1920x1080"}})).add(camera("1", {{"size", "800x600"}})));
    push(Element("config").add(Element("cameras")
                                   .add(camera("0").add(Element("stillPicture").set("size", "640x480")))
                                   .add(camera("1").add(Element("stillPicture")))
                                   .add(camera("2").add(Element("stillPicture").set("size", "12")))));

    EXPECT_EQ(stillSize("0"), (Size{640, 480}));
    EXPECT_EQ(stillSize("1"), (Size{800, 600}));
    EXPECT_EQ(stillSize("2"), (Size{720, 288}));
    EXPECT_EQ(stillSize("9"), (Size{720, 288}));
}

TEST_F(ModelInfosTest, CoordinatesAreScaledForTheCameraThatRunsTheAlgorithm)
{
    keepInfos(Element("cameras")
                  .add(camera("0", {{"size", "800x600"}}).add(algorithms({"dgpr"})))
                  .add(camera("1", {{"size", "1920x1080"}}).add(algorithms({"anpr"})))
                  .add(camera("2", {{"size", "1920x1080"}}).add(algorithms({"dgpr"}))));
    push(Element("config").add(Element("cameras")
                                   .add(camera("0").add(Element("stillPicture").set("size", "400x300")))
                                   .add(camera("1").add(Element("stillPicture").set("size", "960x540")))
                                   .add(camera("2").add(Element("stillPicture").set("size", "0x0")))));
    struct Case {
        const char *root;
        const char *attribute;
        bool horizontal;
        int expected;
    };
    const Case cases[] = {
        {"triggerResult", "x", true, 200}, // counted as anpr: camera 1
        {"anpr", "y", false, 100},
        {"dgpr", "x", true, 200},          // camera 0, the first with dgpr
        {"classification", "x", true, 200}, // no camera: the first one
        {"anpr", "missing", true, 0},
    };
    for (const Case &c : cases) {
        PXRMsg *msg = receivedMessage(Element(c.root).add(Element("decision").set("x", "100").set("y", "50")));
        EXPECT_EQ(Model::scaleCoordinate(msg, c.attribute, c.horizontal), c.expected) << c.root << " " << c.attribute;
        PXRMsgDestroy(msg);
    }
}

TEST_F(ModelInfosTest, StillPictureWithoutSizeLeavesCoordinatesUnscaled)
{
    keepInfos(Element("cameras").add(camera("0", {{"size", "1920x1080"}}).add(algorithms({"anpr"}))));
    push(Element("config").add(Element("cameras").add(camera("0").add(Element("stillPicture").set("size", "0x0")))));

    PXRMsg *msg = receivedMessage(Element("anpr").add(Element("decision").set("x", "100")));
    EXPECT_EQ(Model::scaleCoordinate(msg, "x", true), 100);
    EXPECT_EQ(Model::scaleCoordinate(msg, "x", false), 100);
    PXRMsgDestroy(msg);
}

TEST_F(ModelInfosTest, ZoneIsARectangleOrItsPointsInOrder)
{
    struct Case {
        Element zone;
        bool rectangle;
        QVector<QPoint> points;
    };
    const Case cases[] = {
        {Element("zone").set("x", "10").set("y", "20").set("width", "30").set("height", "40"), true,
         {{10, 20}, {40, 20}, {40, 60}, {10, 60}}},
        {Element("zone").set("width", "30"), true, {{0, 0}, {30, 0}, {30, 0}, {0, 0}}},
        {Element("zone")
             .add(Element("point").set("x", "1").set("y", "2"))
             .add(Element("point").set("x", "5"))
             .add(Element("point").set("x", "3").set("y", "4")),
         false, {{1, 2}, {3, 4}}},
    };
    for (const Case &c : cases) {
        PXRMsg *msg = receivedMessage(c.zone);
        QVector<QPoint> points{{99, 99}};
        bool rectangle = !c.rectangle;
        EXPECT_TRUE(Model::readZone(PXRMsgChild(msg), points, &rectangle));
        EXPECT_EQ(rectangle, c.rectangle);
        EXPECT_EQ(points, c.points);
        PXRMsgDestroy(msg);
    }
}

TEST_F(ModelInfosTest, LightingsAreKeyedByKindAndIdWithTheirLedRanges)
{
    keepInfos(Element("cameras"),
              Element("lightings")
                  .add(Element("led").set("id", "1").add(Element("currentValues").set("min", "5").set("max", "90")))
                  .add(Element("projector").set("id", "2"))
                  .add(Element("LED").set("id", "3").add(Element("currentValues").set("min", "7")))
                  .add(Element("lamp").set("id", "4")));

    EXPECT_EQ(model->lightingLabel("led=1"), "[led=1] " + Model::tr("Internal LED board"));
    EXPECT_EQ(model->lightingLabel("projector=2"), "[projector=2] " + Model::tr("External projector"));
    EXPECT_EQ(model->lightingLabel("LED=3"), "[LED=3] " + Model::tr("Internal LED board"));
    EXPECT_EQ(model->lightingLabel("lamp=4"), "[lamp=4] " + Model::tr("Unknown light source"));
    int min = -1, max = -1;
    EXPECT_TRUE(model->ledCurrentRange("1", &min, &max));
    EXPECT_EQ(min, 5);
    EXPECT_EQ(max, 90);
    min = max = -1;
    EXPECT_FALSE(model->ledCurrentRange("3", &min, &max));
    EXPECT_EQ(min, 7);
    EXPECT_EQ(max, -1);
    EXPECT_FALSE(model->ledCurrentRange("2", &min, &max));
}

TEST_F(ModelInfosTest, ClearingForgetsCamerasAndLightingsButKeepsSizes)
{
    keepInfos(Element("cameras").add(camera("0", {{"size", "1280x960"}})),
              Element("lightings").add(Element("led").set("id", "1")));
    model->clear();

    EXPECT_EQ(model->cameraCount(), 0);
    EXPECT_EQ(model->lightingLabel("led=1"), "[led=1] ");
    EXPECT_EQ(cameraSize("0"), (Size{1280, 960}));
    model->parseInfos();
    EXPECT_EQ(model->productVersion(), "");
}
