// Fixture of the settings dialogs' tests: the model bound to the test sensor, which pushes a full
// configuration and information; the test schema; each dialog opened by its tag through a
// dispatcher as the window opens it, the operator's part done on it inside the modal seam's
// handler; every other modal dialog answered and kept in order; and the requests the sensor got.
#pragma once

#include "DialogDispatcher.h"
#include "ModalAnswers.h"
#include "PanelsTestSupport.h"
#include "SettingsDialogRegistry.h"
#include "WidgetComboDoc.h"
#include "ZyModalRunner.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>

#include <initializer_list>
#include <utility>
#include <vector>

namespace settingstest {

using fybsim::Element;
using Attributes = std::initializer_list<std::pair<const char *, const char *>>;

inline Element element(const char *name, Attributes attributes)
{
    Element made(name);
    for (const auto &[key, value] : attributes)
        made.set(key, value);
    return made;
}

// The full configuration with the cameras given in place of its own.
inline Element configWithCameras(std::initializer_list<Element> cameras)
{
    Element config = panelsfixture::fullConfig();
    for (Element &section : config.children) {
        if (section.name == "cameras")
            section.children.assign(cameras);
    }
    return config;
}

inline Element camera(const char *id, std::initializer_list<Element> features)
{
    Element made = Element("camera").set("id", id);
    for (const Element &feature : features)
        made.add(feature);
    return made;
}

// The full information with the enabled algorithms of camera "0" given.
inline Element infosWithAlgorithms(const std::vector<const char *> &names)
{
    Element infos = panelsfixture::fullInfos();
    for (Element &section : infos.children) {
        if (section.name != "cameras")
            continue;
        Element algorithms("enabledAlgorithms");
        for (const char *name : names)
            algorithms.add(Element(name));
        Element &first = section.children.front();
        std::erase_if(first.children, [](const Element &child) { return child.name == "enabledAlgorithms"; });
        first.add(algorithms);
    }
    return infos;
}

// The setConfig a camera dialog sends: the feature of that camera with these attributes.
inline Element cameraRequest(const char *id, const char *feature, Attributes attributes)
{
    return Element("setConfig").add(
        Element("config").add(Element("cameras").add(camera(id, {element(feature, attributes)}))));
}

template <typename T>
T *child(QDialog &dialog, const char *name)
{
    T *found = dialog.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline QPushButton *okButton(QDialog &dialog)
{
    return child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok);
}

// As the operator: picks the value in the schema combo; false when the combo lacks it.
inline bool choose(WidgetComboDoc *combo, const char *value)
{
    auto *inner = combo->findChild<QComboBox *>();
    const int index = inner->findData(QString::fromUtf8(value));
    inner->setCurrentIndex(index);
    return index >= 0;
}

// Enabled as the operator meets it: a schema combo by its inner combo.
inline bool usable(QWidget *control)
{
    if (auto *combo = qobject_cast<WidgetComboDoc *>(control))
        return combo->isEnabled();
    return control->isEnabled();
}

// Not hidden by its dialog, whether or not the dialog is on screen.
inline bool shown(QWidget *widget)
{
    return !widget->isHidden();
}

} // namespace settingstest

class SettingsTest : public PanelTest, protected ModalAnswers
{
protected:
    using Operator = std::function<void(QDialog &dialog)>;

    void SetUp() override
    {
        PanelTest::SetUp();
        registerSettingsDialogs();
        ZyModalRunner::setHandler([this](QDialog *dialog) { return answer(dialog); });
    }
    void TearDown() override
    {
        ZyModalRunner::setHandler({});
        PanelTest::TearDown();
    }

    // Connects afresh with that configuration and information and loads the test schema: a row of
    // a table starts from its own trees, not from those the model merged before.
    void start(const fybsim::Element &config, const fybsim::Element &infos = panelsfixture::fullInfos())
    {
        model()->clear();
        server.setConfig(config);
        server.setInfos(infos);
        ASSERT_NO_FATAL_FAILURE(connectModel());
        QFile file(QStringLiteral(BZK_SIM_DATA_DIR "/settings-dialogs.xsd"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray schema = file.readAll();
        ASSERT_TRUE(model()->schemaDoc().load(schema.constData(), int(schema.size())));
    }

    // Opens the dialog of the tag as the window does; the operator's part runs on it in place of
    // its modal loop. The dialog's result, -1 when none opened. An accepted dialog's change comes
    // back from the sensor before this returns, so that no push is left pending.
    int open(const QString &tag, Operator act)
    {
        int result = -1;
        answers.push_back([&result, act](QDialog *dialog) {
            act(*dialog);
            result = dialog->result();
            return result;
        });
        seen.clear();
        QSignalSpy pushed(model(), &Model::signalConfigReceived);
        dispatcher.dispatch(tag);
        if (result < 0)
            answers.clear();
        if (result == QDialog::Accepted) {
            EXPECT_TRUE(waitUntil([&] { return pushed.count() > 0; }));
        }
        return result;
    }
    // Opens the dialog, lets the operator edit it and presses OK.
    int openAndOk(const QString &tag, Operator edit = {})
    {
        return open(tag, [edit](QDialog &dialog) {
            if (edit)
                edit(dialog);
            settingstest::okButton(dialog)->click();
        });
    }

    // The setConfig requests the sensor received since the mark.
    std::vector<fybsim::Element> requestsSince(const fybsim::FybSensor::Mark &mark) const
    {
        std::vector<fybsim::Element> requests;
        const std::vector<fybsim::Received> all = server.received();
        for (std::size_t i = mark.received; i < all.size(); ++i)
            if (all[i].rootName() == "setConfig")
                requests.push_back(*all[i].message.root);
        return requests;
    }
    // The first setConfig since the mark is exactly the expected tree.
    void expectRequest(const fybsim::FybSensor::Mark &mark, const fybsim::Element &expected) const
    {
        const std::optional<fybsim::Received> got = server.waitForRoot(mark, "setConfig", 15s);
        ASSERT_TRUE(got.has_value());
        ASSERT_TRUE(got->message.root.has_value());
        EXPECT_TRUE(*got->message.root == expected)
            << "sent:     " << fybsim::xmlPartOf(*got->message.root) << "\nexpected: " << fybsim::xmlPartOf(expected);
    }

    DialogDispatcher dispatcher{nullptr, [](const QString &) {}};
};
