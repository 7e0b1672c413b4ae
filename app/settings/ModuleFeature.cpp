// One feature of one recognition module of one camera.
#include "ModuleFeature.h"

#include "ConfigRequest.h"
#include "Dialog_Settings.h"

#include <QStringList>

ModuleFeature::ModuleFeature(const QString &cameraId, const QString &module, const char *feature)
    : m_cameraId(cameraId), m_module(module), m_feature(feature)
{
}

QStringList ModuleFeature::schemaPath() const
{
    return {"config", "cameras", "camera", m_module, QString::fromLatin1(m_feature)};
}

PXRMsgElement *ModuleFeature::module(PXRMsg *config) const
{
    return PXRMsgElementFirstChild(Dialog_Settings::findCamera(config, m_cameraId), m_module.toLatin1().constData());
}

PXRMsgElement *ModuleFeature::find(PXRMsg *config) const
{
    return PXRMsgElementFirstChild(module(config), m_feature.constData());
}

ConfigElement ModuleFeature::in(const ConfigRequest &request) const
{
    return request.path({{"config"}, {"cameras"}, {"camera", m_cameraId.toLatin1()}, {m_module.toLatin1()},
                         {m_feature}});
}
