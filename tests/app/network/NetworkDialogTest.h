// The full configuration with one element somewhere below "config" given in place of its own or
// taken out, the setConfig carrying that one element, and the runs of the protocol and service
// dialogs: OK pressed and the request compared as a tree, or the input refused in a box.
#pragma once

#include "NetworkSections.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>

#include <optional>
#include <string>
#include <vector>

namespace networktest {

using namespace settingstest;

// The element names from "config" (left out) down to the edited element's parent.
using Parents = std::vector<const char *>;

inline Element &childOf(Element &parent, const char *name)
{
    for (Element &child : parent.children)
        if (child.name == name)
            return child;
    parent.add(Element(name));
    return parent.children.back();
}

inline Element configWithAt(const Parents &parents, const char *name, const std::optional<Element> &made)
{
    Element config = panelsfixture::fullConfig();
    Element *parent = &config;
    for (const char *level : parents)
        parent = &childOf(*parent, level);
    std::erase_if(parent->children, [name](const Element &child) { return child.name == name; });
    if (made)
        parent->add(*made);
    return config;
}

inline Element requestAt(const Parents &parents, const Element &made)
{
    Element inner = made;
    for (auto level = parents.rbegin(); level != parents.rend(); ++level)
        inner = Element(*level).add(inner);
    return Element("setConfig").add(Element("config").add(inner));
}

// The operator's usual parts: a text typed, a switch set, one part after another.
inline Edit typeIn(const char *edit, const char *text)
{
    return [edit, text](QDialog &dialog) { child<QLineEdit>(dialog, edit)->setText(QString::fromUtf8(text)); };
}

inline Edit switchTo(const char *group, bool on)
{
    return [group, on](QDialog &dialog) { child<QGroupBox>(dialog, group)->setChecked(on); };
}

inline Edit then(Edit first, Edit second)
{
    return [first, second](QDialog &dialog) {
        first(dialog);
        second(dialog);
    };
}

// Where a dialog's element lives and which tag opens it.
struct Section
{
    const char *tag;
    Parents parents;
};

// OK pressed after the operator's part: the request is exactly the expected element.
struct SendCase
{
    const char *name;
    Element section;
    Edit edit;
    std::vector<const char *> disabled;
    Element expected;
};

// OK pressed after the operator's part: a box says why, nothing is sent, the dialog stays open.
struct RefusalCase
{
    const char *name;
    Section where;
    Element section;
    Edit edit;
    QMessageBox::Icon icon;
    const char *title;
    const char *text;
};

} // namespace networktest

class NetworkDialogTest : public SettingsTest
{
protected:
    void expectSent(const networktest::Section &where, const networktest::SendCase &c)
    {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(networktest::configWithAt(where.parents, c.section.name.c_str(), c.section)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk(where.tag, [&](QDialog &dialog) {
            for (const char *name : c.disabled)
                EXPECT_FALSE(settingstest::usable(settingstest::child<QWidget>(dialog, name))) << name;
            if (c.edit)
                c.edit(dialog);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, networktest::requestAt(where.parents, c.expected));
    }

    void expectRefused(const networktest::RefusalCase &c)
    {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(
            start(networktest::configWithAt(c.where.parents, c.section.name.c_str(), c.section)));
        const fybsim::FybSensor::Mark mark = server.mark();
        std::optional<QMessageBox::Icon> icon;
        bool stayedOpen = false;
        const int result = open(c.where.tag, [&](QDialog &dialog) {
            if (c.edit)
                c.edit(dialog);
            answers.push_back([&icon](QDialog *box) {
                if (auto *message = qobject_cast<QMessageBox *>(box))
                    icon = message->icon();
                return int(QMessageBox::Ok);
            });
            settingstest::okButton(dialog)->click();
            stayedOpen = dialog.result() == 0;
            dialog.reject();
        });
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(result, QDialog::Rejected);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].kind, "QMessageBox");
        EXPECT_EQ(seen[1].title, c.title);
        EXPECT_EQ(seen[1].text, c.text);
        EXPECT_EQ(icon, c.icon);
        EXPECT_TRUE(requestsSince(mark).empty());
    }

    // Without its element the dialog shows why, its controls and OK stay disabled and Cancel
    // closes it having sent nothing.
    void expectMissing(const networktest::Section &where, const char *name, const std::vector<const char *> &controls)
    {
        SCOPED_TRACE(where.tag);
        ASSERT_NO_FATAL_FAILURE(start(networktest::configWithAt(where.parents, name, std::nullopt)));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = open(where.tag, [&](QDialog &dialog) {
            EXPECT_FALSE(settingstest::okButton(dialog)->isEnabled());
            EXPECT_NE(dialog.findChild<QWidget *>("labelMissingSettings"), nullptr);
            for (const char *control : controls)
                EXPECT_FALSE(settingstest::usable(settingstest::child<QWidget>(dialog, control))) << control;
            settingstest::okButton(dialog)->click();
            settingstest::child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Cancel)->click();
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(seen.size(), 1u);
        EXPECT_TRUE(requestsSince(mark).empty());
    }
};
