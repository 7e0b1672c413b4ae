// The base of every dialog that edits part of the sensor's configuration: the schema's
// documentation in a panel glued to its right edge, the lookups of a camera or a lighting in
// the kept configuration, the binding of its controls to the edited element's attributes, and
// the one request it sends on OK.
//
// A derived dialog sets up its form, sets docPath, fills its combos, binds its controls and
// shows the element (showElement); its OK runs its own checks, then writes the binding into a
// request and sends it (sendRequest).
#pragma once

#include "SettingsBinding.h"
#include "ZyModalPreparation.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include "PXR.h"

class ConfigElement;
class ConfigRequest;
class DialogDoc;
class Model;
class QLabel;
class QSpinBox;

class Dialog_Settings : public QDialog, public ZyModalPreparation
{
    Q_OBJECT

public:
    explicit Dialog_Settings(QWidget *parent);
    ~Dialog_Settings() override;

    // The modal seam's run of this dialog, its documentation first when the operator wants it.
    int exec() override;
    // Shows the documentation of docPath and the extra paths; nothing when the schema has none.
    void showDoc();

    // The camera of that id under "cameras" of the configuration; null when there is none.
    static PXRMsgElement *findCamera(PXRMsg *config, const QString &cameraId);
    // The lighting of a "type=id" key under "lightings"; null when there is none.
    static PXRMsgElement *findLighting(PXRMsg *config, const QString &lightingKey);

    DialogDoc *documentationPanel() const { return docPanel; }

protected:
    bool event(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool prepareRun() override;
    // Asked before every run: a dialog that cannot open (the sensor lacks what it shows) tells
    // the operator why in a box and answers false; the run then ends rejected, unshown.
    virtual bool openingAllowed();

    // Loads the bound controls from the element. Without one the sensor lacks these settings:
    // every control and OK are disabled and a note says so.
    void showElement(PXRMsgElement *element);
    // The schema's bounds of the edited element's attribute; a bound it does not give stays the
    // form's.
    void takeSchemaRange(QSpinBox *spin, const QString &attribute) const;
    // The same under another schema path, for a dialog without documentation.
    void takeSchemaRange(QSpinBox *spin, const QStringList &path, const QString &attribute) const;
    // The element of a camera's feature in the request ("config", "cameras", the camera, the feature).
    static ConfigElement cameraFeature(const ConfigRequest &request, const QString &cameraId, const char *feature);
    // Sends the request to the master sensor and judges the answer under the title; accepted
    // on success, open with the operator's values otherwise.
    bool sendRequest(const ConfigRequest &request, const QString &title);

    Model *model;
    QStringList docPath;
    QList<QStringList> extraDocPaths;
    DialogDoc *docPanel = nullptr;
    SettingsBinding binding;

private:
    void addHelpButton();
    void gluePanel();

    QLabel *m_missingNote = nullptr;
};
