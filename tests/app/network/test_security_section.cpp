// The Security section of the settings tree: each Edit link opens its real dialog, and the 802.1X
// row is there only when the sensor reports its client.
#include "SecurityTestSupport.h"

#include "Dialog_Settings.h"
#include "DialogDoc.h"
#include "WidgetSettings.h"

#include <gtest/gtest.h>

namespace {

using fybsim::Element;

TEST_F(SecurityTest, SecuritySectionLinksOpenTheRealDialogs)
{
    const struct
    {
        const char *row;
        const char *dialog;
    } rows[] = {
        {"Certificates", "DialogSecurity"},
        {"Plate encryption", "DialogSecurityRSA"},
        {"Lock password", "DialogSecurityLock"},
        {"802.1X", "DialogSecurity8021X"},
    };
    ASSERT_NO_FATAL_FAILURE(startWith());
    sensor().setLocked(true);
    WidgetSettings page;
    QObject::connect(&page, &WidgetSettings::openDialog, &page, [this](const QString &tag) { dispatcher.dispatch(tag); });
    page.reload();
    for (const auto &r : rows) {
        SCOPED_TRACE(r.row);
        QTreeWidgetItem *item = rowAt(*page.tree(), {"Security", r.row});
        ASSERT_NE(item, nullptr);
        QLabel *link = linkOf(*page.tree(), item);
        ASSERT_NE(link, nullptr);
        seen.clear();
        answers.push_back(cancel());
        emit link->linkActivated(linkParts(*link).first);
        EXPECT_EQ(kinds(), QStringList{QString::fromLatin1(r.dialog)});
    }
    sensor().setLocked(false);

    Element state = securitytest::security();
    std::erase_if(state.children, [](const Element &e) { return e.name == "IEEE8021X"; });
    ASSERT_NO_FATAL_FAILURE(startWith(state));
    page.clear();
    page.reload();
    EXPECT_NE(rowAt(*page.tree(), {"Security", "Lock password"}), nullptr);
    EXPECT_EQ(rowAt(*page.tree(), {"Security", "802.1X"}), nullptr);
}

TEST_F(SecurityTest, SecurityDialogsOpenWithTheRequestsDocumentation)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    for (const char *tag : {"security-certificates", "security-8021X", "security-lock", "security-plate"}) {
        SCOPED_TRACE(tag);
        run(tag, [](QDialog &dialog) {
            auto *settings = qobject_cast<Dialog_Settings *>(&dialog);
            ASSERT_NE(settings, nullptr);
            ASSERT_NE(settings->documentationPanel(), nullptr);
            EXPECT_TRUE(settings->documentationPanel()->isVisible());
        });
    }
}

} // namespace
