// The configuration tree's camera sections: one per camera with a sub-section per configured
// feature, and the saving of a camera's classification data to a file.
#pragma once

#include "TreeFill.h"

#include <QStringList>

class CameraTreeFill : public TreeFill
{
    Q_DECLARE_TR_FUNCTIONS(CameraTreeFill)

public:
    explicit CameraTreeFill(WidgetGeneralSettings &tree);

    // The information gives the classification status of each camera.
    void fill(PXRMsgElement *config, PXRMsgElement *infos);

    // Writes the classification data of the camera with that id into a file the operator picks;
    // each failure is said in an error box and leaves nothing half written unnoticed.
    static void saveClassification(WidgetGeneralSettings *tree, PXRMsgElement *config, const QString &cameraId);

private:
    // A label of the toolbox's configuration tokens.
    using Label = QString (*)(const char *token);

    ZyTreeWidgetItem *feature(QTreeWidgetItem *parent, const QString &caption, PXRMsgElement *element,
                              const char *tagSuffix);
    // The "Enabled" row of a feature; false, with its detail rows removed, when it is switched off.
    bool enabledRow(QTreeWidgetItem *section, PXRMsgElement *element, const char *attribute,
                    const QStringList &details);
    void labelRow(QTreeWidgetItem *section, PXRMsgElement *element, const QString &caption, const char *attribute,
                  Label label);
    // "%1x%2" of a width and a height when both are present.
    void sizeRow(QTreeWidgetItem *section, PXRMsgElement *element, const QString &caption, const char *width,
                 const char *height);

    void camera(QTreeWidgetItem *section, PXRMsgElement *camera, PXRMsgElement *infos);
    void stream(QTreeWidgetItem *section, PXRMsgElement *camera);
    void stillPicture(QTreeWidgetItem *section, PXRMsgElement *camera);
    void areaOfInterest(QTreeWidgetItem *section, PXRMsgElement *camera);
    void anpr(QTreeWidgetItem *section, PXRMsgElement *camera);
    void anprOcr(QTreeWidgetItem *section, PXRMsgElement *anpr);
    void avar(QTreeWidgetItem *section, PXRMsgElement *anpr);
    void speed(QTreeWidgetItem *section, PXRMsgElement *camera);
    void dgpr(QTreeWidgetItem *section, PXRMsgElement *camera);
    void dgprOcr(QTreeWidgetItem *section, PXRMsgElement *dgpr);
    void classification(QTreeWidgetItem *section, PXRMsgElement *camera, PXRMsgElement *infos);
    void enslavement(QTreeWidgetItem *section, PXRMsgElement *camera);
    void autoExposure(QTreeWidgetItem *section, PXRMsgElement *camera);

    // The camera whose sections are being filled.
    QString m_cameraId;
};
