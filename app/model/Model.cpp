// The application's shared state: kept trees, message dispatch and the facts derived from them.
#include "Model.h"

namespace {
Model *s_instance = nullptr;
}

Model *Model::instance()
{
    if (s_instance == nullptr)
        s_instance = new Model();
    return s_instance;
}

void Model::deleteInstance()
{
    delete s_instance;
    s_instance = nullptr;
}

Model::Model() = default;
Model::~Model() = default;

void Model::clear() {}
void Model::parseInfos() {}
QString Model::cameraId(int) const { return {}; }
QString Model::cameraLabel(const QString &) const { return {}; }
void Model::cameraSize(const QString &, int *, int *) const {}
void Model::stillPictureSize(const QString &, int *, int *) const {}
QStringList Model::enabledAlgorithms(const QString &) const { return {}; }
int Model::scaleCoordinate(PXRMsg *, const char *, bool) { return 0; }
bool Model::readZone(PXRMsgElement *, QVector<QPoint> &, bool *) { return true; }
QString Model::lightingLabel(const QString &) const { return {}; }
bool Model::ledCurrentRange(const char *, int *, int *) const { return false; }
void Model::requestSensorDate() {}
void Model::addLatencySample(PXRMsg *) {}
void Model::onMsgReceived(void *) {}
void Model::onMsgReceivedFromSlave(void *) {}
void Model::onDisconnection() {}
