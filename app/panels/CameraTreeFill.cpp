// The configuration tree's camera sections: one per camera with a sub-section per configured
// feature, and the saving of a camera's classification data to a file.
#include "CameraTreeFill.h"

#include "Model.h"
#include "WidgetGeneralSettings.h"
#include "ZyDialogs.h"
#include "ZyLumatrekTr.h"
#include "ZyTreeWidgetItem.h"

#include <QFile>
#include <QLabel>
#include <QUrl>

#include <cstdlib>

namespace {

// The leading whole number of the text; 0 for none.
long long wholeNumber(const QString &text)
{
    return std::strtoll(text.toLatin1().constData(), nullptr, 10);
}

void criticalBox(QWidget *parent, const QString &text)
{
    ZyDialogs::critical(parent, CameraTreeFill::tr("Error"), text, QString());
}

// The reading limits shared by the plate and the dangerous-goods panel readers; the panel reader
// has no per-character reliability.
std::vector<TreeFill::Row> ocrLimits(bool withCharacterReliability)
{
    std::vector<TreeFill::Row> limits = {
        {CameraTreeFill::tr("Zoom Plate Width"), "zoomPlateWidth"},
        {CameraTreeFill::tr("Min Reliability"), "minReliability"},
        {CameraTreeFill::tr("Min Reliability for characters"), "minReliabilityForCharacters"},
        {CameraTreeFill::tr("Min char width for static decision"), "minCharWidthStatic"},
        {CameraTreeFill::tr("Min plate width for static decision"), "minPlateWidthStatic8Char"},
        {CameraTreeFill::tr("Min recognitions for static decision"), "minRecognitionStatic"},
        {CameraTreeFill::tr("Min recognitions"), "minRecognition"},
        {CameraTreeFill::tr("Max no plate before decision"), "maxNoPlateBeforeDecision"}};
    if (!withCharacterReliability)
        limits.erase(limits.begin() + 2);
    return limits;
}

} // namespace

CameraTreeFill::CameraTreeFill(WidgetGeneralSettings &tree)
    : TreeFill(tree)
{
}

void CameraTreeFill::fill(PXRMsgElement *config, PXRMsgElement *infos)
{
    PXRMsgElement *cameras = child(config, "cameras");
    if (cameras == nullptr)
        return;
    int count = 0;
    forEachChild(cameras, "camera", [&](PXRMsgElement *) { ++count; });
    if (count == 1) {
        PXRMsgElement *only = child(cameras, "camera");
        camera(m_tree.addSection(nullptr, tr("Camera"), only, true), only, infos);
        return;
    }
    ZyTreeWidgetItem *top = m_tree.addSection(nullptr, tr("Cameras"), cameras, true, "cameras", false, tr("Edit"));
    row(top, cameras, {tr("Synchronize cameras"), "cameraSynchro", Kind::YesNo});
    forEachChild(cameras, "camera", [&](PXRMsgElement *each) {
        camera(m_tree.addSection(top, Model::instance()->cameraLabel(text(each, "id")), each, true), each, infos);
    });
}

void CameraTreeFill::camera(QTreeWidgetItem *section, PXRMsgElement *camera, PXRMsgElement *infos)
{
    m_cameraId = text(camera, "id");
    stream(section, camera);
    stillPicture(section, camera);
    areaOfInterest(section, camera);
    anpr(section, camera);
    speed(section, camera);
    dgpr(section, camera);
    classification(section, camera, infos);
    enslavement(section, camera);
    autoExposure(section, camera);
}

ZyTreeWidgetItem *CameraTreeFill::feature(QTreeWidgetItem *parent, const QString &caption, PXRMsgElement *element,
                                          const char *tagSuffix)
{
    return m_tree.addSection(parent, caption, element, true, m_cameraId + tagSuffix, false, tr("Edit"));
}

bool CameraTreeFill::enabledRow(QTreeWidgetItem *section, PXRMsgElement *element, const char *attribute,
                                const QStringList &details)
{
    row(section, element, {tr("Enabled"), attribute, Kind::YesNo});
    if (!has(element, attribute) || flag(element, attribute))
        return true;
    for (const QString &caption : details)
        m_tree.removeRow(section, caption);
    return false;
}

void CameraTreeFill::labelRow(QTreeWidgetItem *section, PXRMsgElement *element, const QString &caption,
                              const char *attribute, Label label)
{
    if (has(element, attribute))
        m_tree.addProperty(section, caption, label(PXRMsgElementAttributeValue(element, attribute)), element,
                           attribute, true);
}

void CameraTreeFill::sizeRow(QTreeWidgetItem *section, PXRMsgElement *element, const QString &caption,
                             const char *width, const char *height)
{
    if (has(element, width) && has(element, height))
        m_tree.addProperty(section, caption, QString("%1x%2").arg(text(element, width), text(element, height)),
                           element, width, true);
}

void CameraTreeFill::stream(QTreeWidgetItem *section, PXRMsgElement *camera)
{
    PXRMsgElement *stream = child(camera, "stream");
    if (stream == nullptr)
        return;
    ZyTreeWidgetItem *top = feature(section, tr("Video stream"), stream, ":stream");
    if (!enabledRow(top, stream, "enabled",
                    {tr("Codec"), tr("Image size"), tr("Framerate"), tr("Quality"), tr("Bitrate"), tr("GOP")}))
        return;
    rows(top, stream,
         {{tr("Codec"), "codec"},
          {tr("Image size"), "size"},
          {tr("Framerate"), "fps", Kind::Format, tr("%1 frames/s")},
          {tr("Quality"), "quality", Kind::Format, tr("%1")}});
    if (has(stream, "bitrate"))
        m_tree.addProperty(top, tr("Bitrate"), tr("%1 kb/s").arg(wholeNumber(text(stream, "bitrate")) / 1000), stream,
                           "bitrate", true);
    row(top, stream, {tr("GOP"), "gop"});
}

void CameraTreeFill::stillPicture(QTreeWidgetItem *section, PXRMsgElement *camera)
{
    PXRMsgElement *still = child(camera, "stillPicture");
    if (still == nullptr)
        return;
    ZyTreeWidgetItem *top = feature(section, tr("Still picture"), still, ":stillPicture");
    if (!enabledRow(top, still, "enabled", {tr("Image size"), tr("Quality"), tr("Plate cropped")}))
        return;
    rows(top, still, {{tr("Image size"), "size"}, {tr("Quality"), "quality", Kind::Format, tr("%1")}});
    labelRow(top, still, tr("Plate cropped"), "plateCropped", &ZyLumatrekTr::imageSizeLabel);
}

void CameraTreeFill::areaOfInterest(QTreeWidgetItem *section, PXRMsgElement *camera)
{
    PXRMsgElement *area = child(camera, "areaOfInterest");
    if (area == nullptr)
        return;
    ZyTreeWidgetItem *top = feature(section, tr("Area of interest"), area, ":areaOfInterest2");
    if (!enabledRow(top, area, "enabled", {tr("Type")}) || !has(area, "excludingZone"))
        return;
    m_tree.addProperty(top, tr("Type"), flag(area, "excludingZone") ? tr("Exclusive") : tr("Inclusive"), area,
                       "excludingZone", true);
}

void CameraTreeFill::anpr(QTreeWidgetItem *section, PXRMsgElement *camera)
{
    PXRMsgElement *anpr = child(camera, "anpr");
    if (anpr == nullptr)
        return;
    ZyTreeWidgetItem *top = feature(section, tr("ANPR"), anpr, ":anpr");
    rows(top, anpr,
         {{tr("Context"), "context"},
          {tr("2 lines plates"), "squarePlates", Kind::YesNo},
          {tr("Trailer plates"), "trailerPlates", Kind::YesNo},
          {tr("Multiple plates reading"), "multiPlate", Kind::YesNo},
          {tr("Counting"), "counting", Kind::YesNo},
          {tr("Vehicle detection"), "vehicleDetection", Kind::YesNo}});
    labelRow(top, anpr, tr("Direction"), "direction", &ZyLumatrekTr::sideLabel);
    rows(top, anpr,
         {{tr("Duplicate filter"), "duplicateFilter", Kind::OnOff},
          {tr("Detects focus automatically"), "focusAuto", Kind::OnOff},
          {tr("Plate position"), "platePosition"},
          {tr("Recognition storage"), "recognitionStorage", Kind::OnOff}});
    if (has(anpr, "reemitDecision")) {
        const QString reemit = flag(anpr, "reemitDecision") ? tr("%1 ms").arg(text(anpr, "reemitDecisionTimeout"))
                                                            : ZyLumatrekTr::onOffLabel(0);
        m_tree.addProperty(top, tr("Reemit decisions"), reemit, anpr, "reemitDecision", true);
    }

    if (PXRMsgElement *serial = child(anpr, "serial")) {
        ZyTreeWidgetItem *output = feature(top, tr("Serial output"), serial, ":anprserial");
        // One row for both attributes: the newer "export" wins.
        labelRow(output, serial, tr("Export mode"), "rs232Export", &ZyLumatrekTr::simpleAdvancedLabel);
        labelRow(output, serial, tr("Export mode"), "export", &ZyLumatrekTr::simpleAdvancedLabel);
    }
    anprOcr(top, anpr);
    if (PXRMsgElement *trigger = child(anpr, "trigger"))
        rows(feature(top, tr("Trigger"), trigger, ":anprtrigger"), trigger,
             {{tr("Reliability threshold"), "reliabilityThreshold"},
              {tr("Timeout after EndPlate"), "endPlateTimeout_ms", Kind::Format, tr("%1 ms")},
              {tr("Activate on IO In"), "activateOnIOIn", Kind::YesNo},
              {tr("IO in pulse mode"), "triggerIOPulseMode"},
              {tr("Timeout for IO triggers"), "triggerIOTimeout", Kind::Format, tr("%1 ms")}});
    avar(top, anpr);
}

void CameraTreeFill::anprOcr(QTreeWidgetItem *section, PXRMsgElement *anpr)
{
    PXRMsgElement *ocr = child(anpr, "ocr");
    if (ocr == nullptr)
        return;
    ZyTreeWidgetItem *top = feature(section, tr("OCR"), ocr, ":anprocr");
    sizeRow(top, ocr, tr("Max Plate Size"), "maxPlateWidth", "maxPlateHeight");
    sizeRow(top, ocr, tr("Min Plate Size"), "minPlateWidth", "minPlateHeight");
    rows(top, ocr, ocrLimits(true));
}

void CameraTreeFill::avar(QTreeWidgetItem *section, PXRMsgElement *anpr)
{
    PXRMsgElement *avar = child(anpr, "avar");
    if (avar == nullptr)
        return;
    ZyTreeWidgetItem *top = feature(section, tr("AVAR"), avar, ":anpravar");
    row(top, avar, {tr("Enabled"), "enabled", Kind::YesNo});
    if (!flag(avar, "enabled")) {
        m_tree.removeRow(top, tr("Secondary sensor"));
        return;
    }
    PXRMsgElement *sensor = child(child(avar, "sensors"), "sensor0");
    if (!has(sensor, "address") || !has(sensor, "port") || !has(sensor, "useSecuredConnection"))
        return;
    const QString secured = flag(sensor, "useSecuredConnection") ? tr("secured") : tr("not secured");
    m_tree.addProperty(top, tr("Secondary sensor"),
                       QString("%1:%2 (%3)").arg(text(sensor, "address"), text(sensor, "port"), secured), sensor,
                       "address", true);
}

void CameraTreeFill::speed(QTreeWidgetItem *section, PXRMsgElement *camera)
{
    PXRMsgElement *speed = child(camera, "speed");
    if (speed == nullptr)
        return;
    ZyTreeWidgetItem *top = feature(section, tr("Speed"), speed, ":speed");
    // A measure of 0 is one the installer has not given yet.
    const auto measure = [&](const QString &caption, const char *attribute, const char *unit, bool whole) {
        if (!has(speed, attribute))
            return;
        const QString value = text(speed, attribute);
        const bool unset = whole ? wholeNumber(value) == 0 : std::strtod(value.toLatin1().constData(), nullptr) == 0;
        m_tree.addProperty(top, caption, unset ? QString() : QString("%1 %2").arg(value, unit), speed, attribute,
                           true);
    };
    measure(tr("Field of view"), "fieldOfView_cm", "cm", true);
    measure(tr("Installation height"), "installationHeight_cm", "cm", true);
    measure(tr("Installation angle"), "installationAngle_degrees", "\u00b0", false);
    measure(tr("Field of view"), "fieldOfViewY_cm", "cm", true);
    labelRow(top, speed, tr("Installation context"), "installationContext", &ZyLumatrekTr::mountingLabel);

    const char *context = PXRMsgElementAttributeValue(speed, "installationContext");
    if (PXRMsgStringEqual(context, "gantry")) {
        m_tree.removeRow(top, tr("Field of view width"));
        m_tree.removeRow(top, tr("Field of view height"));
        rows(top, child(speed, "gantry"),
             {{tr("Installation height"), "installationHeight_cm", Kind::Format, "%1 cm"},
              {tr("Installation angle"), "installationAngle_degrees", Kind::Format, "%1 \u00b0"}});
    } else if (PXRMsgStringEqual(context, "lateral")) {
        m_tree.removeRow(top, tr("Installation height"));
        m_tree.removeRow(top, tr("Installation angle"));
        rows(top, child(speed, "lateral"),
             {{tr("Field of view width"), "fieldOfViewX_cm", Kind::Format, "%1 cm"},
              {tr("Field of view height"), "fieldOfViewY_cm", Kind::Format, "%1 cm"}});
    }
}

void CameraTreeFill::dgpr(QTreeWidgetItem *section, PXRMsgElement *camera)
{
    PXRMsgElement *dgpr = child(camera, "dgpr");
    if (dgpr == nullptr)
        return;
    ZyTreeWidgetItem *top = feature(section, tr("DGPR"), dgpr, ":dgpr");
    labelRow(top, dgpr, tr("Direction"), "direction", &ZyLumatrekTr::sideLabel);
    rows(top, dgpr,
         {{tr("Empty plates detection"), "emptyPlatesDetection", Kind::OnOff},
          {tr("Installation"), "installation"},
          {tr("Empty plates detection ratio"), "emptyPlatesDetectionRatio"},
          {tr("Recognition storage"), "recognitionStorage", Kind::OnOff}});
    if (PXRMsgElement *serial = child(dgpr, "serial")) {
        ZyTreeWidgetItem *output = feature(top, tr("Serial output"), serial, ":dgprserial");
        labelRow(output, serial, tr("Export on RS232"), "rs232Export", &ZyLumatrekTr::simpleAdvancedLabel);
        labelRow(output, serial, tr("Export mode"), "export", &ZyLumatrekTr::simpleAdvancedLabel);
    }
    dgprOcr(top, dgpr);
    if (PXRMsgElement *trigger = child(dgpr, "trigger"))
        rows(feature(top, tr("Trigger"), trigger, ":dgprtrigger"), trigger,
             {{tr("Reliability threshold"), "reliabilityThreshold"},
              {tr("Timeout after EndPlate"), "endPlateTimeout_ms", Kind::Format, tr("%1 ms")}});
}

void CameraTreeFill::dgprOcr(QTreeWidgetItem *section, PXRMsgElement *dgpr)
{
    PXRMsgElement *ocr = child(dgpr, "ocr");
    if (ocr == nullptr)
        return;
    ZyTreeWidgetItem *top = feature(section, tr("OCR"), ocr, ":dgprocr");
    // Panels may be limited in one dimension only.
    const auto limit = [&](const QString &size, const QString &height, const QString &width, const char *widthAttribute,
                           const char *heightAttribute) {
        if (has(ocr, widthAttribute) && has(ocr, heightAttribute))
            sizeRow(top, ocr, size, widthAttribute, heightAttribute);
        else if (has(ocr, heightAttribute))
            row(top, ocr, {height, heightAttribute});
        else
            row(top, ocr, {width, widthAttribute});
    };
    limit(tr("Max Plate Size"), tr("Max Plate height"), tr("Max Plate width"), "maxPlateWidth", "maxPlateHeight");
    limit(tr("Min Plate Size"), tr("Min Plate height"), tr("Min Plate width"), "minPlateWidth", "minPlateHeight");
    rows(top, ocr, ocrLimits(false));
}

void CameraTreeFill::classification(QTreeWidgetItem *section, PXRMsgElement *camera, PXRMsgElement *infos)
{
    PXRMsgElement *classification = child(camera, "classification");
    if (classification == nullptr)
        return;
    ZyTreeWidgetItem *top = feature(section, tr("Classification"), classification, ":classification");
    PXRMsgElement *data = child(classification, "data");
    ZyTreeWidgetItem *configuration = m_tree.addProperty(top, tr("Configuration"), " ", data, nullptr, true);
    if (data != nullptr && PXRMsgElementContentSize(data) > 0) {
        auto *link = qobject_cast<QLabel *>(m_tree.itemWidget(configuration, 1));
        if (link == nullptr) {
            link = new QLabel(&m_tree);
            link->setTextFormat(Qt::RichText);
            WidgetGeneralSettings *tree = &m_tree;
            QObject::connect(link, &QLabel::linkActivated, tree, [tree](const QString &href) {
                tree->on_labelClassifSave_activated(QUrl::fromPercentEncoding(href.toLatin1()));
            });
            m_tree.setItemWidget(configuration, 1, link);
        }
        // The id travels percent-encoded: nothing of it can close the attribute.
        const QString href = QString::fromLatin1(QUrl::toPercentEncoding(m_cameraId));
        link->setText(tr("Loaded - <a href='%1'>Save</a>").arg(href));
    } else {
        // The tree deletes the link from the event loop, after any signal of it has returned.
        m_tree.removeItemWidget(configuration, 1);
        m_tree.addProperty(top, tr("Configuration"), tr("NOT loaded"), data, nullptr, true);
    }

    PXRMsgElement *status = nullptr;
    forEachChild(child(infos, "cameras"), "camera", [&](PXRMsgElement *each) {
        if (status == nullptr && has(each, "id") && text(each, "id") == m_cameraId)
            status = child(child(each, "enabledAlgorithms"), "classification");
    });
    if (has(status, "initialized"))
        m_tree.addProperty(top, tr("Status"), flag(status, "initialized") ? tr("Initialized") : tr("NOT initialized"),
                           nullptr, nullptr, true);
}

void CameraTreeFill::enslavement(QTreeWidgetItem *section, PXRMsgElement *camera)
{
    PXRMsgElement *enslavement = child(camera, "enslavement");
    if (enslavement == nullptr)
        return;
    ZyTreeWidgetItem *top = feature(section, tr("Enslavement"), enslavement, ":enslavement");
    const QString maxTime = tr("Max time without decision before reinit");
    const QString election = tr("Time to wait before election");
    if (!enabledRow(top, enslavement, "enabled",
                    {tr("Mode"), tr("Switch type"), maxTime, election, tr("Plate hysteresis"), tr("Max gain")}))
        return;
    labelRow(top, enslavement, tr("Mode"), "mode", &ZyLumatrekTr::applicationLabel);
    labelRow(top, enslavement, tr("Switch type"), "switchType", &ZyLumatrekTr::lightingLabel);
    rows(top, enslavement,
         {{maxTime, "maxTimeWithoutDecisionBeforeReinit_s", Kind::Format, "%1 s"},
          {election, "timeToWaitBeforeElection_s", Kind::Format, "%1 s"},
          {tr("Plate hysteresis"), "plateHysteresis", Kind::Format, "%1"},
          {tr("Max gain"), "gainMax", Kind::Format, "%1 db"}});
}

void CameraTreeFill::autoExposure(QTreeWidgetItem *section, PXRMsgElement *camera)
{
    PXRMsgElement *exposure = child(camera, "autoExposure");
    if (exposure == nullptr)
        return;
    ZyTreeWidgetItem *top = feature(section, tr("Auto exposure"), exposure, ":autoExposure");
    if (!enabledRow(top, exposure, "shutterPriority", {tr("Reaction speed"), tr("Switch type")}))
        return;
    rows(top, exposure, {{tr("Reaction speed"), "reactionSpeed"}, {tr("Switch type"), "switchType"}});
}

void CameraTreeFill::saveClassification(WidgetGeneralSettings *tree, PXRMsgElement *config, const QString &cameraId)
{
    PXRMsgElement *cameras = child(config, "cameras");
    if (cameras == nullptr)
        return criticalBox(tree, tr("Unable to find 'cameras' element"));
    PXRMsgElement *camera = nullptr;
    forEachChild(cameras, "camera", [&](PXRMsgElement *each) {
        if (camera == nullptr && has(each, "id") && text(each, "id") == cameraId)
            camera = each;
    });
    if (camera == nullptr)
        return criticalBox(tree, tr("Unable to find 'camera' element with ID=%1").arg(cameraId));
    PXRMsgElement *data = child(child(camera, "classification"), "data");
    if (data == nullptr)
        return criticalBox(tree, tr("Unable to find 'classification/data' element"));
    // Copied before the dialog: a push or a lost connection while it is open changes the kept tree.
    const QByteArray bytes(static_cast<const char *>(PXRMsgElementContent(data)),
                           qsizetype(PXRMsgElementContentSize(data)));
    const QString fileName =
        ZyDialogs::getSaveFileName(tree, "saveClassif", tr("Save Classification configuration"),
                                   tr("Classification configuration (*.classConfig)"), QString());
    if (fileName.isEmpty())
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush())
        criticalBox(tree, tr("Unable to open file for writing"));
}
