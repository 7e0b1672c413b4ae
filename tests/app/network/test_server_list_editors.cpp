// The server-list editors: the list fills the edits it has entries for, OK takes every usable
// edit back as typed, Cancel leaves the list alone; each is pictured as the operator meets it.
#include "DialogDNSServers.h"
#include "DialogNTPServers.h"
#include "DialogUnicastDiscoverClients.h"
#include "TestPictures.h"
#include "ZyModalRunner.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace {

using Make = std::function<std::unique_ptr<ServerListEditor>()>;

struct EditorKind
{
    const char *name;
    Make make;
    const char *title;
    int edits;
};

const EditorKind kinds[] = {
    {"DNS", [] { return std::make_unique<DialogDNSServers>(nullptr); }, "DNS servers", 3},
    {"NTP", [] { return std::make_unique<DialogNTPServers>(nullptr); }, "NTP servers", 3},
    {"unicast", [] { return std::make_unique<DialogUnicastDiscoverClients>(nullptr); }, "Unicast discover clients", 4},
};

struct ListCase
{
    const char *name;
    QStringList list;
    // The operator's texts, edit by edit (beyond the list's end the edits are disabled).
    QStringList typed;
    bool ok;
    QStringList shown;
    QStringList after;
};

class ServerListEditorTest : public ::testing::Test
{
protected:
    void TearDown() override { ZyModalRunner::setHandler({}); }

    // Runs the editor on the list; the operator types into the usable edits, then OK or Cancel.
    int run(ServerListEditor &editor, QStringList *list, const ListCase &c)
    {
        ZyModalRunner::setHandler([&](QDialog *dialog) {
            const QList<QLineEdit *> edits = dialog->findChildren<QLineEdit *>();
            shown.clear();
            for (QLineEdit *edit : edits)
                shown << (edit->isEnabled() ? edit->text() : QStringLiteral("<disabled>"));
            for (qsizetype i = 0; i < c.typed.size(); ++i)
                if (edits[i]->isEnabled())
                    edits[i]->setText(c.typed[i]);
            auto *box = dialog->findChild<QDialogButtonBox *>("buttonBox");
            box->button(c.ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
            return dialog->result();
        });
        return editor.exec(list);
    }

    QStringList shown;
};

TEST_F(ServerListEditorTest, TheListChangesOnlyOnOkAndKeepsItsSize)
{
    const ListCase cases[] = {
        {"two entries", {"a", "b"}, {}, true, {"a", "b", "<disabled>"}, {"a", "b"}},
        {"second emptied", {"a", "b", "c"}, {"a", ""}, true, {"a", "b", "c"}, {"a", "", "c"}},
        {"typed as is", {"", "", ""}, {" 10.0.0.1 ", "x:y:z"}, true, {"", "", ""}, {" 10.0.0.1 ", "x:y:z", ""}},
        {"cancelled", {"a", "b", "c"}, {"x", "y", "z"}, false, {"a", "b", "c"}, {"a", "b", "c"}},
        {"empty list", {}, {"x"}, true, {"<disabled>", "<disabled>", "<disabled>"}, {}},
    };
    for (const EditorKind &kind : kinds) {
        for (const ListCase &c : cases) {
            SCOPED_TRACE(std::string(kind.name) + ": " + c.name);
            std::unique_ptr<ServerListEditor> editor = kind.make();
            EXPECT_EQ(editor->windowTitle(), kind.title);
            QStringList list = c.list;
            const int result = run(*editor, &list, c);
            EXPECT_EQ(result, c.ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
            QStringList shownExpected = c.shown;
            QStringList after = c.after;
            while (shownExpected.size() < kind.edits)
                shownExpected << QStringLiteral("<disabled>");
            EXPECT_EQ(shown, shownExpected);
            EXPECT_EQ(list, after);
        }
    }
}

TEST_F(ServerListEditorTest, Pictures)
{
    for (const EditorKind &kind : kinds) {
        std::unique_ptr<ServerListEditor> editor = kind.make();
        QStringList list = {"192.168.1.1", "", "ntp.example.org", "10.3.3.4:22022"};
        list = list.mid(0, kind.edits);
        ZyModalRunner::setHandler([&](QDialog *dialog) {
            keepPicture(*dialog, QStringLiteral("network-list-%1").arg(QString::fromLatin1(kind.name)));
            return int(QDialog::Rejected);
        });
        editor->exec(&list);
    }
}

} // namespace
