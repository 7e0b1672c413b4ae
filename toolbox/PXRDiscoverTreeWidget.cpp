// The list of sensors heard on the local network, refreshed from a discovery object every two seconds.
#include "PXRDiscoverTreeWidget.h"

#include "PXRDiscoverTreeWidgetItem.h"
#include "ZyLanguage.h"
#include "ZyStylesheet.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QIcon>

#include <algorithm>

namespace {

const int kMessageRole = Qt::UserRole + 1;
const int kRefreshMs = 2000;
const int kColumnCount = 16;
// A sensor's text wider than this elides; the cell's tooltip holds it whole.
const int kWidestColumn = 250;

enum Column {
    ColLock, ColWarning, ColAddress, ColPort, ColPortSSL, ColMac, ColVersion, ColEquipment, ColAlgorithms,
    ColCommandPort, ColTimePort, ColName, ColCardClass, ColSlaveAnprMac, ColSlaveContextMac, ColLockingClient
};

// Legacy-family equipment whose old firmwares need the warning.
const char *const kLegacyEquipment[] = {"Lumatek2", "Lumatek", "Pindrel", "Lumatek3 (primary)",
                                        "Lumatek3 (secondary)", "Pindrel2", "Sabrel", "KGV sensor"};

const char *attribute(PXRMsgElement *psRoot, const char *pcszName)
{
    return PXRMsgElementAttributeValue(psRoot, pcszName);
}

bool oldLegacyFirmware(const char *pcszEquipment, const char *pcszVersion)
{
    if (!pcszEquipment || !pcszVersion)
        return false;
    const QString equipment = QString::fromUtf8(pcszEquipment);
    if (std::none_of(std::begin(kLegacyEquipment), std::end(kLegacyEquipment),
                     [&](const char *known) { return equipment == QLatin1String(known); }))
        return false;
    const QStringList parts = QString::fromUtf8(pcszVersion).split('.', Qt::KeepEmptyParts);
    if (parts.size() != 3)
        return false;
    const uint major = parts[0].toUInt(), minor = parts[1].toUInt(), patch = parts[2].toUInt();
    return major < 6 || (major == 6 && minor == 0) || (major == 6 && minor == 1 && patch < 4);
}

QString algorithms(PXRMsgElement *psAlgorithms)
{
    QString names;
    for (PXRMsgElement *psChild = PXRMsgElementFirstChild(psAlgorithms, nullptr); psChild;
         psChild = PXRMsgElementNextChild(psAlgorithms, psChild, nullptr))
        names += QString::fromUtf8(PXRMsgElementName(psChild)) + ' ';
    return names;
}

// Every cell of the row emptied, so nothing of an earlier announcement stays shown.
void clearRow(QTreeWidgetItem *item)
{
    for (int column = 0; column < kColumnCount; ++column) {
        for (int role : {int(Qt::DisplayRole), int(Qt::DecorationRole), int(Qt::ToolTipRole), int(Qt::UserRole)})
            item->setData(column, role, QVariant());
    }
}

// Ports are unsigned on the wire: a legacy 0xFFFFFFFF reads 4294967295, never -1; text that is
// no number reads 0.
uint portOf(const char *pcszValue)
{
    return QByteArray(pcszValue).trimmed().toUInt();
}

} // namespace

PXRDiscoverTreeWidget::PXRDiscoverTreeWidget(QWidget *parent)
    : ZyTreeWidget(parent)
{
    ZyStylesheet::registerPictures();
    ZyLanguage::installTranslator(QCoreApplication::applicationDirPath() + "/pxrqt_%1.qm");
}

PXRDiscoverTreeWidget::~PXRDiscoverTreeWidget()
{
    m_timerDiscover.stop();
    clear();
    releaseOwnDiscovery();
}

void PXRDiscoverTreeWidget::releaseOwnDiscovery()
{
    if (m_discover && !m_externalDiscovery)
        PXRDiscoverDestroy(m_discover);
    m_discover = nullptr;
}

void PXRDiscoverTreeWidget::init(PXRDiscover *psDiscover)
{
    setRootIsDecorated(false);
    setSortingEnabled(true);
    setAlternatingRowColors(true);
    if (psDiscover != m_discover)
        releaseOwnDiscovery();
    m_externalDiscovery = psDiscover != nullptr;
    m_discover = psDiscover;
    if (!m_discover) {
        m_discover = PXRDiscoverCreate();
        PXRDiscoverStart(m_discover);
    }
    init2({tr("Lock"), tr("Warning"), tr("IP address"), tr("Port"), tr("Port secured"), tr("MAC address"),
           tr("Firmware version"), tr("Equipment type"), tr("Algorithms"), tr("Command port"), tr("Time port"),
           tr("Name"), tr("Card class"), tr("Slave ANPR MAC address"), tr("Slave Context MAC address"),
           tr("Locking client IP")},
          0);
    refresh();
    m_timerDiscover.setInterval(kRefreshMs);
    m_timerDiscover.setSingleShot(false);
    connect(&m_timerDiscover, &QTimer::timeout, this, &PXRDiscoverTreeWidget::on_timerDiscover_timeout,
            Qt::UniqueConnection);
    m_timerDiscover.start();
}

void PXRDiscoverTreeWidget::on_timerDiscover_timeout()
{
    refresh();
}

bool PXRDiscoverTreeWidget::getDiscovered(QList<PXRMsg *> &messages)
{
    uint32_t u32Count = 0;
    if (!m_discover || !PXRDiscoverGetDiscovered(m_discover, nullptr, &u32Count) || u32Count == 0)
        return false;
    messages.resize(qsizetype(u32Count));
    PXRDiscoverGetDiscovered(m_discover, messages.data(), &u32Count);
    messages.resize(qsizetype(u32Count));
    return true;
}

bool PXRDiscoverTreeWidget::acceptSensor(PXRMsg *)
{
    return true;
}

PXRMsg *PXRDiscoverTreeWidget::sensorMessage(QTreeWidgetItem *item)
{
    if (!item)
        return nullptr;
    return reinterpret_cast<PXRMsg *>(quintptr(item->data(0, kMessageRole).toULongLong()));
}

void PXRDiscoverTreeWidget::refresh()
{
    QList<PXRMsg *> discovered;
    getDiscovered(discovered);
    // A snapshot: refilled rows may move while the view keeps itself sorted.
    QList<QTreeWidgetItem *> rows;
    for (int i = topLevelItemCount() - 1; i >= 0; --i)
        rows.append(topLevelItem(i));
    for (QTreeWidgetItem *row : rows) {
        PXRMsg *psPrevious = sensorMessage(row);
        const char *pcszKey = attribute(PXRMsgChild(psPrevious), "uniqueKey");
        const auto match = std::find_if(discovered.begin(), discovered.end(), [&](PXRMsg *psMsg) {
            const char *pcszOther = attribute(PXRMsgChild(psMsg), "uniqueKey");
            return pcszKey && pcszOther && PXRMsgStringEqual(pcszKey, pcszOther);
        });
        if (match == discovered.end()) {
            delete row;
            continue;
        }
        PXRMsg *psMsg = *match;
        discovered.erase(match);
        // The sensor's latest announcement decides whether it is listed.
        if (!acceptSensor(psMsg)) {
            PXRMsgDestroy(psMsg);
            delete row;
            continue;
        }
        fillItem(row, psMsg);
        PXRMsgDestroy(psPrevious);
    }
    bool added = false;
    for (PXRMsg *psMsg : discovered) {
        if (!acceptSensor(psMsg)) {
            PXRMsgDestroy(psMsg);
            continue;
        }
        auto *row = new PXRDiscoverTreeWidgetItem;
        fillItem(row, psMsg);
        addTopLevelItem(row);
        added = true;
    }
    // Columns follow what is listed, but a column the operator narrowed stays so between arrivals.
    if (added)
        fitColumns(kWidestColumn);
}

void PXRDiscoverTreeWidget::fillItem(QTreeWidgetItem *item, PXRMsg *psMsg)
{
    auto *row = static_cast<ZyTreeWidgetItem *>(item);
    PXRMsgElement *psRoot = PXRMsgChild(psMsg);
    clearRow(row);
    if (const char *pcszStatus = attribute(psRoot, "initStatus"))
        fillStartingRow(row, psRoot, pcszStatus);
    else
        fillAnnouncedRow(row, psRoot);
    row->setData(0, kMessageRole, QVariant::fromValue<quint64>(quintptr(psMsg)));
}

void PXRDiscoverTreeWidget::setTextCell(ZyTreeWidgetItem *row, int column, PXRMsgElement *psRoot,
                                        const char *pcszName)
{
    const char *pcszValue = attribute(psRoot, pcszName);
    row->setValue(column, pcszValue ? QString::fromUtf8(pcszValue) : tr("N/A"), QString());
}

void PXRDiscoverTreeWidget::setNumberCell(ZyTreeWidgetItem *row, int column, PXRMsgElement *psRoot,
                                          const char *pcszName)
{
    const char *pcszValue = attribute(psRoot, pcszName);
    row->setValue(column, pcszValue ? QVariant(portOf(pcszValue)) : QVariant(tr("N/A")), QString());
}

void PXRDiscoverTreeWidget::fillStartingRow(ZyTreeWidgetItem *row, PXRMsgElement *psRoot, const char *pcszStatus)
{
    row->setIcon(ColWarning, QIcon(":/PXRQt/warning"), tr("Initializing phase, the sensor will not connect"), true);
    setTextCell(row, ColAddress, psRoot, "ipAddress");
    row->setValue(ColPort, tr("N/A"), QString());
    setTextCell(row, ColMac, psRoot, "macAddress");
    setTextCell(row, ColVersion, psRoot, "version");
    row->setValue(ColEquipment, tr("Initializing: ") + QString::fromUtf8(pcszStatus), QString());
}

void PXRDiscoverTreeWidget::fillAnnouncedRow(ZyTreeWidgetItem *row, PXRMsgElement *psRoot)
{
    if (const char *pcszLocked = attribute(psRoot, "locked")) {
        if (PXRMsgStrToBool(pcszLocked))
            row->setIcon(ColLock, QIcon(":/PXRQt/lock"), tr("Locked"), true);
        else
            row->setIcon(ColLock, QIcon(":/PXRQt/unlock"), tr("Unlocked"), true);
    }
    if (oldLegacyFirmware(attribute(psRoot, "equipment"), attribute(psRoot, "version")))
        row->setIcon(ColWarning, QIcon(":/PXRQt/warning"),
                     tr("KGV firmwares < 6.1.4 do not work perfectly with the PXR, it is recommended to update them"),
                     true);
    setTextCell(row, ColAddress, psRoot, "ipAddress");
    // A port that reads as 0 names no port.
    const char *pcszPort = attribute(psRoot, "port");
    const uint port = pcszPort ? portOf(pcszPort) : 0;
    row->setValue(ColPort, port ? QVariant(port) : QVariant(tr("N/A")), QString());
    setNumberCell(row, ColPortSSL, psRoot, "portSSL");
    setTextCell(row, ColMac, psRoot, "macAddress");
    setTextCell(row, ColVersion, psRoot, "version");
    setTextCell(row, ColEquipment, psRoot, "equipment");
    PXRMsgElement *psAlgorithms = PXRMsgElementFirstChild(psRoot, "enabledAlgorithms");
    row->setValue(ColAlgorithms, psAlgorithms ? algorithms(psAlgorithms) : tr("N/A"), QString());
    setNumberCell(row, ColCommandPort, psRoot, "commandPort");
    setNumberCell(row, ColTimePort, psRoot, "timePort");
    setTextCell(row, ColName, psRoot, "name");
    setTextCell(row, ColCardClass, psRoot, "cardClass");
    setTextCell(row, ColSlaveAnprMac, psRoot, "slaveANPRMacAddress");
    setTextCell(row, ColSlaveContextMac, psRoot, "slaveContextMacAddress");
    setTextCell(row, ColLockingClient, psRoot, "lockingClientIP");
}
