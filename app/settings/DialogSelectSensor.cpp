// The announced sensors, one of which becomes a slave.
#include "DialogSelectSensor.h"
#include "ui_DialogSelectSensor.h"

#include "AppSettings.h"
#include "DiscoveryFactory.h"
#include "ZyDialogs.h"

#include <QHeaderView>

namespace
{

const QString kGeometryName = QStringLiteral("DialogSelectSensor");

// Models that can only be masters.
struct RefusedModel {
    const char *equipment;
    const char *reason;
};
const RefusedModel kRefusedModels[] = {
    {"Lumatek4", QT_TRANSLATE_NOOP("DialogSelectSensor", "A Lumatek4 cannot be slave.")},
    {"Lumatek3 (primary)", QT_TRANSLATE_NOOP("DialogSelectSensor", "A primary Lumatek3 cannot be slave.")},
};

// An algorithm counts when its name contains the one required ("anprBDXSimu" runs "anpr").
bool runs(PXRMsgElement *root, const QString &algorithm)
{
    PXRMsgElement *algorithms = PXRMsgElementFirstChild(root, "enabledAlgorithms");
    for (PXRMsgElement *child = PXRMsgElementFirstChild(algorithms, nullptr); child != nullptr;
         child = PXRMsgElementNextChild(algorithms, child, nullptr))
        if (QString::fromUtf8(PXRMsgElementName(child)).contains(algorithm))
            return true;
    return false;
}

} // namespace

DialogSelectSensor::DialogSelectSensor(QWidget *parent) : QDialog(parent), ui(new Ui::DialogSelectSensor)
{
    ui->setupUi(this);
    m_discover = DiscoveryFactory::createStarted();
    ui->treeDiscover->init(m_discover);
    ui->treeDiscover->header()->setStretchLastSection(true);
    restoreGeometry(AppSettings().dialogGeometry(kGeometryName));
}

DialogSelectSensor::~DialogSelectSensor()
{
    AppSettings().setDialogGeometry(kGeometryName, saveGeometry());
    // The list reads the discovery object until it goes.
    delete ui->treeDiscover;
    if (m_discover != nullptr)
        PXRDiscoverDestroy(m_discover);
}

void DialogSelectSensor::setParameters(const QString &ownMac, const QString &algorithm, QString *chosenMac)
{
    m_ownMac = ownMac;
    m_algorithm = algorithm;
    m_chosenMac = chosenMac;
}

QString DialogSelectSensor::refusal(PXRMsg *announcement) const
{
    if (announcement == nullptr)
        return tr("You must select a sensor in the list.");
    PXRMsgElement *root = PXRMsgChild(announcement);
    // The sensor and its own announcement may write its MAC in different cases.
    const QString mac = QString::fromUtf8(PXRMsgElementAttributeValue(root, "macAddress"));
    if (!mac.isEmpty() && mac.compare(m_ownMac, Qt::CaseInsensitive) == 0)
        return tr("This is the sensor you are configuring.\nYou must select another one.");
    const QByteArray equipment = PXRMsgElementAttributeValue(root, "equipment");
    for (const RefusedModel &model : kRefusedModels)
        if (equipment == model.equipment)
            return tr(model.reason);
    if (!runs(root, m_algorithm))
        return tr("You must select a %1 sensor.").arg(m_algorithm);
    return {};
}

void DialogSelectSensor::choose(QTreeWidgetItem *item)
{
    PXRMsg *announcement = PXRDiscoverTreeWidget::sensorMessage(item);
    const QString refused = refusal(announcement);
    if (!refused.isEmpty()) {
        ZyDialogs::information(this, windowTitle(), refused);
        return;
    }
    if (m_chosenMac != nullptr)
        *m_chosenMac = QString::fromUtf8(PXRMsgElementAttributeValue(PXRMsgChild(announcement), "macAddress"));
    accept();
}

void DialogSelectSensor::on_buttonBox_accepted()
{
    choose(ui->treeDiscover->currentItem());
}

void DialogSelectSensor::on_buttonBox_rejected()
{
    reject();
}

void DialogSelectSensor::on_treeDiscover_itemDoubleClicked(QTreeWidgetItem *item, int)
{
    choose(item);
}
