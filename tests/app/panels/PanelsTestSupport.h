// Fixture of the sensor panels' tests: the application model bound to the test sensor, which
// pushes the configuration and information; a stand-in main window that keeps the documentation
// requests and the application log; and a text form of a tree that tests compare.
#pragma once

#include "CoreTestSupport.h"
#include "FybSensor.h"
#include "Model.h"
#include "PXR_Internal.h"
#include "PanelFixtures.h"
#include "TestPictures.h"
#include "WidgetGeneralSettings.h"

#include <QDate>
#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextDocument>

#include <chrono>
#include <memory>

using namespace std::chrono_literals;

// Keeps what the trees asked the documentation pane to show.
class DocumentationWindow : public FakeMainWindow
{
public:
    void showDocumentation(const QStringList &path, const QString &attribute) override
    {
        requests.append({path, attribute});
    }

    struct Request
    {
        QStringList path;
        QString attribute;
    };
    QList<Request> requests;
};

class PanelTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        PXR_resetTiming();
        PXR_timing()->u32ConnectRetryMs = 50;
        PXR_timing()->u32ReconnectDelayMs = 100;
        window.app.initFile(true, logFolder.path(), "app", 0);
        model()->clear();
    }
    void TearDown() override
    {
        model()->clear();
        PXR_resetTiming();
        CoreTest::TearDown();
    }

    static Model *model() { return Model::instance(); }
    static Sensor &sensor() { return model()->masterSensor(); }

    // Binds the model's sensor to the test sensor and subscribes to its pushes; returns once
    // the model has kept the pushed configuration and information.
    void connectModel()
    {
        QSignalSpy configs(model(), &Model::signalConfigReceived);
        QSignalSpy infos(model(), &Model::signalInfosReceived);
        const fybsim::FybSensor::Mark since = server.mark();
        ASSERT_TRUE(sensor().connect("127.0.0.1", server.port(), QString(), false, false, false, {}, {}));
        ASSERT_TRUE(server.waitForConnections(since, fybsim::Role::Asynchronous, 1, 15s));
        ASSERT_TRUE(waitUntil([] { return sensor().isConnected(); }));
        PXRMsg *subscription = PXRMsgCreate();
        PXRMsgElement *root = PXRMsgElementCreate("setEnableStreams");
        PXRMsgElementSetAttribute(root, "configChanges", "1");
        PXRMsgElementSetAttribute(root, "infoChanges", "1");
        PXRMsgSetChild(subscription, root);
        ASSERT_EQ(PXRSendAsynchronousMessage(sensor().handle(), subscription), 1);
        PXRMsgDestroy(subscription);
        ASSERT_TRUE(waitUntil([&] { return model()->config() != nullptr && model()->infos() != nullptr; }));
        ASSERT_TRUE(waitUntil([&] { return configs.count() > 0 && infos.count() > 0; }));
        model()->parseInfos();
    }

    // Pushes a configuration or information message and waits for the model's refresh signal.
    void push(const fybsim::Element &message)
    {
        const bool isConfig = message.name == "config";
        QSignalSpy refreshed(model(), isConfig ? &Model::signalConfigReceived : &Model::signalInfosReceived);
        ASSERT_EQ(server.push(message), 1u);
        ASSERT_TRUE(waitUntil([&] { return refreshed.count() > 0; }));
        if (!isConfig)
            model()->parseInfos();
    }

    // The model asks the sensor's date, which the test sensor gives that far behind this machine.
    void askSensorClock(qint64 behindMs)
    {
        const std::string date = std::to_string(QDateTime::currentMSecsSinceEpoch() - behindMs);
        server.setReply("getDate", fybsim::Reply::message(fybsim::Element("date").set("date", date)));
        model()->requestSensorDate();
        ASSERT_TRUE(model()->clockOffsetValid());
    }

    // What the application log holds so far.
    QString appLog() const
    {
        const QStringList files = QDir(logFolder.path()).entryList({"*_app.log"}, QDir::Files);
        QFile file(logFolder.filePath(files.value(0)));
        if (files.isEmpty() || !file.open(QIODevice::ReadOnly))
            return QString();
        return QString::fromUtf8(file.readAll());
    }

    QTemporaryDir logFolder;
    DocumentationWindow window;
    fybsim::FybSensor server;
};

// The link label of a section, or null.
inline QLabel *linkOf(const QTreeWidget &tree, QTreeWidgetItem *item)
{
    return qobject_cast<QLabel *>(tree.itemWidget(item, 1));
}

// The href and the text of the label's first link, read back from its HTML.
inline std::pair<QString, QString> linkParts(const QLabel &label)
{
    QTextDocument document;
    document.setHtml(label.text());
    for (QTextBlock::iterator it = document.begin().begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().isAnchor())
            return {it.fragment().charFormat().anchorHref(), it.fragment().text()};
    }
    return {};
}

// One line per row, indented by depth: sections as "# caption {tag} [link text] (collapsed)",
// property rows as "caption = value" (a row across both columns as its caption); then "(red)"
// for a red row, "(grey)" for a grey value, and the element path and attribute the row records
// ("@config/network:dhcp").
inline void dumpRows(const QTreeWidget &tree, QTreeWidgetItem *parent, int depth, QStringList &lines)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        QTreeWidgetItem *row = parent->child(i);
        QString line = QString(depth * 2, ' ');
        if (row->font(0).bold()) {
            line += "# " + row->text(0);
            const QString tag = row->data(0, WidgetGeneralSettings::TagRole).toString();
            if (!tag.isEmpty())
                line += " {" + tag + "}";
            if (QLabel *link = linkOf(tree, row))
                line += " [" + linkParts(*link).second + "]";
            if (!row->isExpanded())
                line += " (collapsed)";
        } else if (row->isFirstColumnSpanned()) {
            line += row->text(0);
        } else {
            line += row->text(0) + " = " + row->text(1);
        }
        if (row->foreground(0).color() == QColor(255, 0, 0))
            line += " (red)";
        if (row->foreground(1).color() == QColor(128, 128, 128))
            line += " (grey)";
        const QString path = row->data(0, WidgetGeneralSettings::PathRole).toStringList().join('/');
        const QString attribute = row->data(0, WidgetGeneralSettings::AttributeRole).toString();
        if (!path.isEmpty() || !attribute.isEmpty())
            line += " @" + path + (attribute.isEmpty() ? QString() : ":" + attribute);
        lines.append(line);
        dumpRows(tree, row, depth + 1, lines);
    }
}

inline QStringList dump(const QTreeWidget &tree)
{
    QStringList lines;
    dumpRows(tree, tree.invisibleRootItem(), 0, lines);
    return lines;
}

// The row reached through the captions from the top level; null when any is missing.
inline QTreeWidgetItem *rowAt(const QTreeWidget &tree, const QStringList &captions)
{
    QTreeWidgetItem *item = tree.invisibleRootItem();
    for (const QString &caption : captions) {
        QTreeWidgetItem *next = nullptr;
        for (int i = 0; i < item->childCount() && next == nullptr; ++i)
            next = item->child(i)->text(0) == caption ? item->child(i) : nullptr;
        if (next == nullptr)
            return nullptr;
        item = next;
    }
    return item;
}
