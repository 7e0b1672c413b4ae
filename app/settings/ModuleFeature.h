// One feature of one recognition module ("anpr" or "dgpr") of one camera: where the dialogs of a
// module find it in the kept configuration and where they write it in a request.
#pragma once

#include <QByteArray>
#include <QString>

#include "PXR.h"

class ConfigElement;
class ConfigRequest;

class ModuleFeature
{
public:
    ModuleFeature(const QString &cameraId, const QString &module, const char *feature);

    // "config", "cameras", "camera", the module, the feature: the schema's path of its attributes.
    QStringList schemaPath() const;
    // The feature's element; null when it, its module or its camera is missing.
    PXRMsgElement *find(PXRMsg *config) const;
    // The feature's element in the request, made with the path to it.
    ConfigElement in(const ConfigRequest &request) const;

    const QString &moduleName() const { return m_module; }

private:
    PXRMsgElement *module(PXRMsg *config) const;

    QString m_cameraId;
    QString m_module;
    QByteArray m_feature;
};
