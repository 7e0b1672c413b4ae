// The camera sections of the configuration tree, filled from what the test sensor pushes: one
// camera against several, the tags of every feature, the rows each feature drops or derives,
// and the saving of a camera's classification data.
#include "SettingsPageTest.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>

namespace {

using fybsim::Element;

// A camera with every feature the tree shows, each enabled and filled.
Element fullCamera(const char *id)
{
    Element camera("camera");
    if (id != nullptr)
        camera.set("id", id);
    Element anpr("anpr");
    anpr.set("context", "F")
        .set("squarePlates", "1")
        .set("direction", "front")
        .set("duplicateFilter", "0")
        .set("reemitDecision", "1")
        .set("reemitDecisionTimeout", "1500")
        .add(Element("serial").set("rs232Export", "simple").set("export", "advanced"))
        .add(Element("ocr").set("maxPlateWidth", "300").set("maxPlateHeight", "80").set("minReliability", "70"))
        .add(Element("trigger").set("reliabilityThreshold", "60").set("endPlateTimeout_ms", "400"))
        .add(Element("avar").set("enabled", "1").add(Element("sensors").add(
            Element("sensor0").set("address", "10.0.0.9").set("port", "10001").set("useSecuredConnection", "1"))));
    Element dgpr("dgpr");
    dgpr.set("direction", "rear")
        .set("emptyPlatesDetection", "1")
        .add(Element("serial").set("rs232Export", "simple").set("export", "simple"))
        .add(Element("ocr").set("minPlateHeight", "20"))
        .add(Element("trigger").set("reliabilityThreshold", "50"));
    camera.add(Element("stream").set("enabled", "1").set("codec", "H264").set("fps", "25").set("bitrate", "2500000"))
        .add(Element("stillPicture").set("enabled", "1").set("size", "full").set("plateCropped", "cif"))
        .add(Element("areaOfInterest").set("enabled", "1").set("excludingZone", "1"))
        .add(anpr)
        .add(Element("speed").set("fieldOfView_cm", "800").set("installationContext", "gantry"))
        .add(dgpr)
        .add(Element("classification").add(Element("data").withContent("CLASSIF-0")))
        .add(Element("enslavement").set("enabled", "1").set("mode", "freeFlow").set("switchType", "infrared"))
        .add(Element("autoExposure").set("shutterPriority", "1").set("reactionSpeed", "fast"));
    return camera;
}

Element cameras(std::initializer_list<Element> list)
{
    Element element("cameras");
    element.set("cameraSynchro", "1");
    for (const Element &camera : list)
        element.add(camera);
    return Element("config").add(element);
}

Element infosWithModels()
{
    Element classification("classification");
    classification.set("initialized", "0");
    return Element("infos").add(
        Element("cameras")
            .add(Element("camera").set("id", "0").set("cameraModel", "IMX-1").add(
                Element("enabledAlgorithms").add(classification)))
            .add(Element("camera").set("id", "1").set("cameraModel", "IMX-2")));
}

class CameraSectionsTest : public SettingsPageTest
{
protected:
    void SetUp() override
    {
        SettingsPageTest::SetUp();
        server.setInfos(infosWithModels());
    }

    // The sensor pushes a change, which the page shows once the model keeps it.
    QStringList pushed(const Element &config)
    {
        push(config);
        return dump(tree());
    }
};

QStringList linesUnder(const QStringList &lines, const QString &section)
{
    QStringList found;
    int depth = -1;
    for (const QString &line : lines) {
        const int indent = int(line.size() - line.trimmed().size());
        if (depth >= 0 && indent <= depth)
            break;
        if (depth >= 0)
            found << line.trimmed();
        if (depth < 0 && line.trimmed().startsWith("# " + section))
            depth = indent;
    }
    return found;
}

TEST_F(CameraSectionsTest, OneCameraIsATopLevelSectionAndSeveralGoUnderCamerasByIdAndModel)
{
    ASSERT_NO_FATAL_FAILURE(start(cameras({Element("camera").set("id", "0").add(Element("stream").set("gop", "50"))})));
    QStringList lines = dump(tree());
    EXPECT_TRUE(lines.contains("# Camera @config/cameras/camera")) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains("  # Video stream {0:stream} @config/cameras/camera/stream"));
    EXPECT_FALSE(lines.join('\n').contains("Cameras"));
    EXPECT_FALSE(lines.join('\n').contains("Synchronize cameras"));

    page->clear();
    lines = pushed(cameras({Element("camera").set("id", "0"), Element("camera").set("id", "1")}));
    const QStringList expected = {"# Cameras {cameras} @config/cameras",
                                  "  Synchronize cameras = Yes @config/cameras:cameraSynchro",
                                  "  # [0] IMX-1 @config/cameras/camera",
                                  "    # Video stream {0:stream} @config/cameras/camera/stream",
                                  "      GOP = 50 @config/cameras/camera/stream:gop",
                                  "  # [1] IMX-2 @config/cameras/camera"};
    EXPECT_EQ(lines.mid(int(lines.indexOf(expected[0])), expected.size()), expected) << lines.join('\n').toStdString();
}

TEST_F(CameraSectionsTest, EveryFeatureOfACameraWithoutIdHasTheBareSuffixAsItsTagInOrder)
{
    ASSERT_NO_FATAL_FAILURE(start(cameras({fullCamera(nullptr)}), true));
    QStringList tags;
    static const QRegularExpression tagged(R"(\{(.*)\} \[Edit\])");
    for (const QString &line : dump(tree())) {
        const QRegularExpressionMatch match = tagged.match(line);
        if (match.hasMatch())
            tags << match.captured(1);
    }
    EXPECT_EQ(tags, QStringList({":stream", ":stillPicture", ":areaOfInterest2", ":anpr", ":anprserial", ":anprocr",
                                 ":anprtrigger", ":anpravar", ":speed", ":dgpr", ":dgprserial", ":dgprocr",
                                 ":dgprtrigger", ":classification", ":enslavement", ":autoExposure"}));
}

TEST_F(CameraSectionsTest, FeatureSwitchedOffKeepsOnlyItsEnabledRow)
{
    ASSERT_NO_FATAL_FAILURE(start(cameras({fullCamera("0")})));
    EXPECT_EQ(linesUnder(dump(tree()), "Video stream"),
              QStringList({"Enabled = Yes @config/cameras/camera/stream:enabled",
                           "Codec = H264 @config/cameras/camera/stream:codec",
                           "Framerate = 25 frames/s @config/cameras/camera/stream:fps",
                           "Bitrate = 2500 kb/s @config/cameras/camera/stream:bitrate"}));
    Element off = cameras({Element("camera")
                               .set("id", "0")
                               .add(Element("stream").set("enabled", "0"))
                               .add(Element("enslavement").set("enabled", "false"))
                               .add(Element("autoExposure").set("shutterPriority", "0"))});
    const QStringList lines = pushed(off);
    EXPECT_EQ(linesUnder(lines, "Video stream"), QStringList({"Enabled = No @config/cameras/camera/stream:enabled"}));
    EXPECT_EQ(linesUnder(lines, "Enslavement"),
              QStringList({"Enabled = No @config/cameras/camera/enslavement:enabled"}));
    EXPECT_EQ(linesUnder(lines, "Auto exposure"),
              QStringList({"Enabled = No @config/cameras/camera/autoExposure:shutterPriority"}));
}

// Values the tree works out rather than shows as they come.
TEST_F(CameraSectionsTest, DerivedValuesFollowTheirAttributes)
{
    ASSERT_NO_FATAL_FAILURE(start(cameras({fullCamera("0")})));
    const struct
    {
        Element camera;
        QStringList row;
        QString shown;
    } cases[] = {
        {Element("stream").set("bitrate", "999"), {"Video stream", "Bitrate"}, "0 kb/s"},
        {Element("stream").set("bitrate", "2500000"), {"Video stream", "Bitrate"}, "2500 kb/s"},
        {Element("anpr").set("reemitDecision", "0"), {"ANPR", "Reemit decisions"}, "Off"},
        {Element("stillPicture").set("plateCropped", "smallest"), {"Still picture", "Plate cropped"}, "Smallest"},
        {Element("anpr").add(Element("avar").set("enabled", "1")),
         {"ANPR", "AVAR", "Secondary sensor"},
         "10.0.0.9:10001 (secured)"},
        {Element("enslavement").set("gainMax", "12"), {"Enslavement", "Max gain"}, "12 db"},
        {Element("enslavement").set("switchType", "streaming"), {"Enslavement", "Switch type"}, "Auto"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.row.join('/').toStdString());
        pushed(cameras({Element("camera").set("id", "0").add(c.camera)}));
        QTreeWidgetItem *row = rowAt(tree(), QStringList({"Camera"}) + c.row);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->text(1), c.shown);
    }
    pushed(cameras({Element("camera").set("id", "0").add(Element("anpr").add(Element("avar").set("enabled", "0")))}));
    EXPECT_EQ(rowAt(tree(), {"Camera", "ANPR", "AVAR", "Secondary sensor"}), nullptr);
}

TEST_F(CameraSectionsTest, ReemitWithoutTimeoutShowsTheFormatWithAnEmptyNumber)
{
    Element anpr("anpr");
    anpr.set("reemitDecision", "1");
    ASSERT_NO_FATAL_FAILURE(start(cameras({Element("camera").set("id", "0").add(anpr)})));
    QTreeWidgetItem *row = rowAt(tree(), {"Camera", "ANPR", "Reemit decisions"});
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->text(1), QString(" ms"));
}

TEST_F(CameraSectionsTest, PlateSizeRowsNeedBothDimensionsExceptForTheDangerousGoodsPanels)
{
    Element camera("camera");
    camera.set("id", "0")
        .add(Element("anpr").add(Element("ocr").set("maxPlateWidth", "300").set("minPlateWidth", "90").set(
            "minPlateHeight", "20")))
        .add(Element("dgpr").add(
            Element("ocr").set("maxPlateHeight", "40").set("minPlateWidth", "60").set("minPlateHeight", "15")));
    ASSERT_NO_FATAL_FAILURE(start(cameras({camera})));
    const QStringList lines = dump(tree());
    EXPECT_EQ(linesUnder(lines, "OCR {0:anprocr}"),
              QStringList({"Min Plate Size = 90x20 @config/cameras/camera/anpr/ocr:minPlateWidth"}));
    EXPECT_EQ(linesUnder(lines, "OCR {0:dgprocr}"),
              QStringList({"Max Plate height = 40 @config/cameras/camera/dgpr/ocr:maxPlateHeight",
                           "Min Plate Size = 60x15 @config/cameras/camera/dgpr/ocr:minPlateWidth"}));
}

TEST_F(CameraSectionsTest, InstallationContextChoosesTheSpeedRows)
{
    Element lateral("speed");
    lateral.set("fieldOfView_cm", "0")
        .set("installationHeight_cm", "500")
        .set("installationAngle_degrees", "0.0")
        .set("installationContext", "Lateral")
        .add(Element("lateral").set("fieldOfViewX_cm", "300").set("fieldOfViewY_cm", "200"));
    ASSERT_NO_FATAL_FAILURE(start(cameras({Element("camera").set("id", "0").add(lateral)})));
    EXPECT_EQ(linesUnder(dump(tree()), "Speed"),
              QStringList({"Field of view = Not set (grey) @config/cameras/camera/speed:fieldOfView_cm",
                           "Installation context = Lateral @config/cameras/camera/speed:installationContext",
                           "Field of view width = 300 cm @config/cameras/camera/speed/lateral:fieldOfViewX_cm",
                           "Field of view height = 200 cm @config/cameras/camera/speed/lateral:fieldOfViewY_cm"}));

    Element gantry("speed");
    gantry.set("installationContext", "gantry")
        .add(Element("gantry").set("installationHeight_cm", "650").set("installationAngle_degrees", "12.5"));
    const QStringList lines = pushed(cameras({Element("camera").set("id", "0").add(gantry)}));
    const QStringList speed = linesUnder(lines, "Speed");
    EXPECT_TRUE(
        speed.contains("Installation height = 650 cm @config/cameras/camera/speed/gantry:installationHeight_cm"))
        << speed.join('\n').toStdString();
    EXPECT_TRUE(speed.contains(QString::fromUtf8(
        "Installation angle = 12.5 \u00b0 @config/cameras/camera/speed/gantry:installationAngle_degrees")));
    EXPECT_FALSE(speed.join('\n').contains("Field of view width"));
    EXPECT_FALSE(speed.join('\n').contains("Field of view height"));
}

class ClassificationTest : public CameraSectionsTest
{
protected:
    // The "Save" link of camera 0's classification, clicked; the file dialog answered by the function.
    void clickSave(const std::function<int(QFileDialog *)> &answer, const QString &camera = "[0] IMX-1")
    {
        QTreeWidgetItem *row = rowAt(tree(), {"Cameras", camera, "Classification", "Configuration"});
        ASSERT_NE(row, nullptr);
        QLabel *link = linkOf(tree(), row);
        ASSERT_NE(link, nullptr);
        ZyModalRunner::setHandler([&](QDialog *dialog) {
            if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
                EXPECT_EQ(files->windowTitle(), QString("Save Classification configuration"));
                EXPECT_EQ(files->nameFilters(), QStringList({"Classification configuration (*.classConfig)"}));
                return answer(files);
            }
            auto *box = qobject_cast<QMessageBox *>(dialog);
            EXPECT_NE(box, nullptr);
            if (box != nullptr)
                boxes << box->windowTitle() + ": " + box->text();
            return int(QMessageBox::Ok);
        });
        emit link->linkActivated(linkParts(*link).first);
    }
    static std::function<int(QFileDialog *)> choose(const QString &path)
    {
        return [path](QFileDialog *files) {
            files->selectFile(path);
            return int(QDialog::Accepted);
        };
    }

    QStringList boxes;
    QTemporaryDir folder;
};

TEST_F(ClassificationTest, EmptyDataIsNotLoadedAndLoadedDataHasItsSaveLink)
{
    Element empty = fullCamera("0");
    for (Element &feature : empty.children) {
        if (feature.name == "classification")
            feature.children[0].content.clear();
    }
    ASSERT_NO_FATAL_FAILURE(start(cameras({empty, Element("camera").set("id", "1")})));
    const QStringList lines = dump(tree());
    EXPECT_EQ(linesUnder(lines, "Classification"),
              QStringList({"Configuration = NOT loaded @config/cameras/camera/classification/data",
                           "Status = NOT initialized"}));
    QTreeWidgetItem *row = rowAt(tree(), {"Cameras", "[0] IMX-1", "Classification", "Configuration"});
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(linkOf(tree(), row), nullptr);

    pushed(cameras({fullCamera("0")}));
    ASSERT_EQ(rowAt(tree(), {"Cameras", "[0] IMX-1", "Classification", "Configuration"}), row);
    QLabel *link = linkOf(tree(), row);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(linkParts(*link), std::make_pair(QString("0"), QString("Save")));
    EXPECT_TRUE(link->text().startsWith("Loaded - "));
}

TEST_F(ClassificationTest, SavingWritesTheDataOrSaysWhyNot)
{
    ASSERT_NO_FATAL_FAILURE(start(cameras({fullCamera("0"), Element("camera").set("id", "1")})));
    const struct
    {
        const char *name;
        QString chosen; // empty: the dialog is cancelled
        QStringList boxes;
        QByteArray written;
    } cases[] = {
        {"cancelled", QString(), {}, QByteArray()},
        {"saved", folder.filePath("zone.classConfig"), {}, "CLASSIF-0"},
        {"no folder", folder.filePath("missing/zone.classConfig"), {"Error: Unable to open file for writing"}, ""},
        {"device full", "/dev/full", {"Error: Unable to open file for writing"}, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        ASSERT_NO_FATAL_FAILURE(clickSave(c.chosen.isEmpty() ? std::function<int(QFileDialog *)>(
                                                                   [](QFileDialog *) { return int(QDialog::Rejected); })
                                                             : choose(c.chosen)));
        EXPECT_EQ(boxes, c.boxes);
        if (c.chosen.isEmpty() || c.chosen.startsWith("/dev"))
            continue;
        QFile file(c.chosen);
        EXPECT_EQ(file.open(QIODevice::ReadOnly), !c.written.isEmpty());
        EXPECT_EQ(file.readAll(), c.written);
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"zone.classConfig"}));
}

// The kept configuration may go while the operator picks the file: what was shown is written.
TEST_F(ClassificationTest, DataIsWrittenEvenWhenTheConfigurationGoesWhileTheDialogIsOpen)
{
    ASSERT_NO_FATAL_FAILURE(start(cameras({fullCamera("0"), Element("camera").set("id", "1")})));
    const QString path = folder.filePath("kept.classConfig");
    ASSERT_NO_FATAL_FAILURE(clickSave([&](QFileDialog *files) {
        model()->clear();
        EXPECT_EQ(model()->config(), nullptr);
        files->selectFile(path);
        return int(QDialog::Accepted);
    }));
    EXPECT_TRUE(boxes.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("CLASSIF-0"));
}

// The id goes into the link's markup and comes back whole.
TEST_F(ClassificationTest, CameraWhoseIdIsMarkupStillSavesItsOwnData)
{
    const char *odd = "5' ><b>&amp;";
    Element other("camera");
    other.set("id", odd).add(Element("classification").add(Element("data").withContent("ODD")));
    ASSERT_NO_FATAL_FAILURE(start(cameras({fullCamera("0"), other})));
    const QString path = folder.filePath("odd.classConfig");
    ASSERT_NO_FATAL_FAILURE(clickSave(choose(path), QString("[%1] ").arg(odd)));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join('\n').toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("ODD"));
}

TEST_F(ClassificationTest, MissingElementsAreSaidInErrorBoxes)
{
    ASSERT_NO_FATAL_FAILURE(start(cameras({Element("camera").set("id", "0").add(Element("classification")),
                                           Element("camera").set("id", "1")})));
    auto *tree = static_cast<WidgetGeneralSettings *>(page->tree());
    BoxRecorder recorder;
    tree->on_labelClassifSave_activated("7");
    tree->on_labelClassifSave_activated("0");
    ASSERT_EQ(recorder.boxes.size(), 2);
    EXPECT_EQ(recorder.boxes[0].title, QString("Error"));
    EXPECT_EQ(recorder.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(recorder.boxes[0].text, QString("Unable to find 'camera' element with ID=7"));
    EXPECT_EQ(recorder.boxes[1].text, QString("Unable to find 'classification/data' element"));
}

TEST_F(CameraSectionsTest, SettingsOfTwoCamerasAreKeptAsAPicture)
{
    ASSERT_NO_FATAL_FAILURE(start(cameras({fullCamera("0"), fullCamera("1")}), true));
    tree().expandAll();
    page->resize(600, 2000);
    page->show();
    QCoreApplication::processEvents();
    tree().setColumnWidth(0, 330);
    const QStringList lines = dump(tree());
    EXPECT_EQ(lines.filter("[Edit]").size(), 1 + 2 * 16);
    keepPicture(*page, "settings_two_cameras");
}

} // namespace
