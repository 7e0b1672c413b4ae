// The message filter of an HTTP push server, edited in its tree from the server's filter button:
// what the tree offers, how a stored filter shows, the tri-state ticks and the text given back.
#include "HttpPushSections.h"

#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using namespace settingstest;
using namespace networktest;

// One line per item, indented under its message: "name" then " [x]", " [~]" or " [ ]".
QStringList ticks(const QTreeWidget &tree)
{
    QStringList lines;
    const auto line = [](const QTreeWidgetItem *item, const char *indent) {
        const Qt::CheckState state = item->checkState(0);
        return indent + item->text(0) + (state == Qt::Checked ? " [x]" : state == Qt::PartiallyChecked ? " [~]" : " [ ]");
    };
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        lines << line(tree.topLevelItem(i), "");
        for (int j = 0; j < tree.topLevelItem(i)->childCount(); ++j)
            lines << line(tree.topLevelItem(i)->child(j), "  ");
    }
    return lines;
}

QTreeWidgetItem *item(QTreeWidget &tree, const QString &message, const QString &part = QString())
{
    const QList<QTreeWidgetItem *> found = tree.findItems(message, Qt::MatchExactly);
    EXPECT_EQ(found.size(), 1) << message.toStdString();
    if (found.isEmpty() || part.isEmpty())
        return found.value(0);
    for (int i = 0; i < found.front()->childCount(); ++i)
        if (found.front()->child(i)->text(0) == part)
            return found.front()->child(i);
    ADD_FAILURE() << part.toStdString();
    return nullptr;
}

void tick(QTreeWidget &tree, const QString &message, const QString &part = QString(), bool on = true)
{
    if (QTreeWidgetItem *found = item(tree, message, part))
        found->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

// The tree as the test schema offers it, nothing ticked.
const QStringList kUnticked = {"anpr [ ]",     "  noPlate [ ]", "  new [ ]",      "  end [ ]",
                               "  decision [ ]", "  speed [ ]",   "ioChange [ ]",   "dgpr [ ]",
                               "  new [ ]",     "  decision [ ]", "  hazard [ ]"};

struct FilterCase
{
    const char *name;
    const char *stored;
    std::function<void(QTreeWidget &tree)> act;
    bool accept;
    QStringList shownBeforeActing; // empty: not compared
    const char *sent;
};

TEST_F(SettingsTest, HttpPushFilterShowsTicksAndGivesBackTheFilterText)
{
    const FilterCase cases[] = {
        {"empty", "", {}, true, kUnticked, ""},
        {"a whole message", "anpr", {}, true,
         {"anpr [x]", "  noPlate [x]", "  new [x]", "  end [x]", "  decision [x]", "  speed [x]", "ioChange [ ]",
          "dgpr [ ]", "  new [ ]", "  decision [ ]", "  hazard [ ]"},
         "anpr"},
        {"one part", "anpr/decision", {}, true,
         {"anpr [~]", "  noPlate [ ]", "  new [ ]", "  end [ ]", "  decision [x]", "  speed [ ]", "ioChange [ ]",
          "dgpr [ ]", "  new [ ]", "  decision [ ]", "  hazard [ ]"},
         "anpr/decision"},
        {"one part, then another ticked", "anpr/decision", [](QTreeWidget &tree) { tick(tree, "anpr", "speed"); },
         true, {}, "anpr/decision,anpr/speed"},
        {"every part ticked one by one gives the message",  "",
         [](QTreeWidget &tree) {
             for (const char *part : {"new", "decision", "hazard"})
                 tick(tree, "dgpr", part);
             EXPECT_EQ(item(tree, "dgpr")->checkState(0), Qt::Checked);
         },
         true, {}, "dgpr"},
        {"a message unticked clears its parts", "anpr,dgpr/new",
         [](QTreeWidget &tree) {
             tick(tree, "anpr", QString(), false);
             tick(tree, "dgpr", "new", false);
             tick(tree, "ioChange");
         },
         true, {}, "ioChange"},
        {"a partly ticked message ticked whole", "dgpr/hazard",
         [](QTreeWidget &tree) {
             EXPECT_EQ(item(tree, "dgpr")->checkState(0), Qt::PartiallyChecked);
             tick(tree, "dgpr");
             EXPECT_EQ(item(tree, "dgpr", "new")->checkState(0), Qt::Checked);
         },
         true, {}, "dgpr"},
        {"a blank after the comma matches nothing", "anpr, dgpr", {}, true, {}, "anpr"},
        {"letter case counts", "Anpr", {}, true, kUnticked, ""},
        {"traces are never offered and drop out", "trace,traces,videoStatus,ioChange", {}, true, {}, "ioChange"},
        {"a part of a message without parts drops out", "ioChange/input,anpr/speed", {}, true, {}, "anpr/speed"},
        {"cancel keeps the text", "trace,Anpr", [](QTreeWidget &tree) { tick(tree, "anpr"); }, false, {},
         "trace,Anpr"},
    };
    for (const FilterCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(
            "httpPush", httpPush({pushServer({{"id", "0"}, {"enable", "1"}, {"url", "https://a.example/"},
                                              {"filter", c.stored}})}))));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("httpPush", [&](QDialog &dialog) {
            answers.push_back([&](QDialog *filter) {
                EXPECT_EQ(filter->windowTitle(), "Create message filter");
                auto *tree = filter->findChild<QTreeWidget *>("treeWidget");
                if (!c.shownBeforeActing.isEmpty())
                    EXPECT_EQ(ticks(*tree), c.shownBeforeActing);
                if (c.act)
                    c.act(*tree);
                return int(c.accept ? QDialog::Accepted : QDialog::Rejected);
            });
            pushField<QToolButton>(dialog, "server0", "toolButtonFilter")->click();
            // The operator sees the new text before OK.
            EXPECT_EQ(pushField<QLineEdit>(dialog, "server0", "lineEditFilter")->text(), c.sent);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, networkRequest(httpPush({pushServer(
                                {{"id", "0"}, {"enable", "1"}, {"url", "https://a.example/"}, {"filter", c.sent}}, "")})));
    }
}

TEST_F(SettingsTest, HttpPushFilterButtonWorksWithoutAStoredFilterWhichIsThenNotSent)
{
    const Element stored = httpPush({pushServer({{"id", "0"}, {"enable", "1"}, {"url", "https://a.example/"}})});
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork("httpPush", stored)));
    const fybsim::FybSensor::Mark mark = server.mark();
    openAndOk("httpPush", [&](QDialog &dialog) {
        answers.push_back([](QDialog *filter) {
            tick(*filter->findChild<QTreeWidget *>("treeWidget"), "anpr");
            return int(QDialog::Accepted);
        });
        pushField<QToolButton>(dialog, "server0", "toolButtonFilter")->click();
        EXPECT_EQ(pushField<QLineEdit>(dialog, "server0", "lineEditFilter")->text(), "anpr");
    });
    expectRequest(mark, networkRequest(httpPush(
                            {pushServer({{"id", "0"}, {"enable", "1"}, {"url", "https://a.example/"}}, "")})));
}

TEST_F(SettingsTest, HttpPushFilterTreeIsEmptyWhenTheSchemaPushesNothing)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(
        "httpPush", httpPush({pushServer({{"id", "0"}, {"enable", "1"}, {"url", "https://a.example/"},
                                          {"filter", "anpr"}})}))));
    // No message is said to go from the sensor to its clients any more.
    QByteArray schema;
    ASSERT_TRUE(schemaReplacing("<serverToClient", "<clientToServer", schema));
    schema.replace("<serverToClient", "<clientToServer");
    ASSERT_TRUE(model()->schemaDoc().load(schema.constData(), int(schema.size())));
    int items = -1;
    openAndOk("httpPush", [&](QDialog &dialog) {
        answers.push_back([&](QDialog *filter) {
            items = filter->findChild<QTreeWidget *>("treeWidget")->topLevelItemCount();
            return int(QDialog::Accepted);
        });
        pushField<QToolButton>(dialog, "server0", "toolButtonFilter")->click();
        EXPECT_EQ(pushField<QLineEdit>(dialog, "server0", "lineEditFilter")->text(), "");
    });
    EXPECT_EQ(items, 0);
}

TEST_F(SettingsTest, HttpPushFilterPictureWithAnprPartlyTicked)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithNetwork(
        "httpPush", httpPush({pushServer({{"id", "0"}, {"enable", "1"}, {"url", "https://a.example/"},
                                          {"filter", "anpr/new,anpr/decision,ioChange"}})}))));
    open("httpPush", [this](QDialog &dialog) {
        answers.push_back([this](QDialog *filter) {
            keepPicture(*filter, "network-http-push-filter");
            return int(QDialog::Rejected);
        });
        pushField<QToolButton>(dialog, "server0", "toolButtonFilter")->click();
        dialog.reject();
    });
}

} // namespace
