// Fixture of the security dialogs' tests: the information's security state as a sensor reports
// it, each dialog opened by its tag as the window opens it, the operator's files in a scratch
// folder, the file choosers answered, and the setSecurity requests the test sensor received.
#pragma once

#include "ConfigSections.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

#include <string>

namespace securitytest {

using fybsim::Element;
using settingstest::child;

// A certificate summary as the sensor reports it, its dates that many days from today.
inline Element certificate(const char *name, int fromDays, int toDays)
{
    return Element(name)
        .set("commonName", "gate4.example")
        .set("organizationName", "Brondmere")
        .set("validityFrom", panelsfixture::dayFromToday(fromDays))
        .set("validityTo", panelsfixture::dayFromToday(toDays));
}

// The sensor's security state: a lock password with a hint outside ASCII, plates encrypted, a
// valid certificate and the 802.1X client on EAP-TLS.
inline Element security()
{
    return Element("security")
        .set("lockPasswordNeeded", "1")
        .set("lockPasswordHint", "Clé de l'été ✓")
        .set("rsaCrypted", "1")
        .set("rsaHint", "key of 2026")
        .add(certificate("certificate", -1, 1))
        .add(certificate("IEEE8021X", -1, 1).set("authentication", "eap-tls"));
}

// The full information with that security element, or without one.
inline Element infosWith(const std::optional<Element> &securityElement)
{
    Element infos = panelsfixture::fullInfos();
    std::erase_if(infos.children, [](const Element &section) { return section.name == "security"; });
    if (securityElement)
        infos.add(*securityElement);
    return infos;
}

inline std::string bytesOf(const QByteArray &bytes)
{
    return bytes.toStdString();
}

inline QLineEdit *field(QDialog &dialog, const char *name)
{
    return child<QLineEdit>(dialog, name);
}

} // namespace securitytest

class SecurityTest : public SettingsTest
{
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        ASSERT_TRUE(files.isValid());
    }

    // Connects with the information holding that security state.
    void startWith(const std::optional<fybsim::Element> &security = securitytest::security())
    {
        ASSERT_NO_FATAL_FAILURE(start(panelsfixture::fullConfig(), securitytest::infosWith(security)));
    }

    // Opens the dialog of the tag as the window does, the operator's part done in place of its
    // modal loop; the dialog's result, -1 when none opened.
    int run(const QString &tag, const Operator &act)
    {
        int result = -1;
        answers.push_back([&result, act](QDialog *dialog) {
            act(*dialog);
            result = dialog->result();
            return result;
        });
        seen.clear();
        dispatcher.dispatch(tag);
        if (result < 0)
            answers.clear();
        return result;
    }

    // A file of the operator's scratch folder holding the bytes; its path.
    QString writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(files.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    // The answer of a file chooser that picks the path, or cancels when it is empty; the
    // chooser's caption, start and filters are kept for the test.
    Answer choose(const QString &path)
    {
        return [this, path](QDialog *dialog) {
            auto *chooser = qobject_cast<QFileDialog *>(dialog);
            EXPECT_NE(chooser, nullptr);
            if (chooser == nullptr)
                return int(QDialog::Rejected);
            chooserStart = chooser->selectedFiles().value(0);
            chooserFolder = chooser->directory().absolutePath();
            chooserFilters = chooser->nameFilters();
            if (path.isEmpty())
                return int(QDialog::Rejected);
            chooser->selectFile(path);
            return int(QDialog::Accepted);
        };
    }

    // The setSecurity requests the sensor received since the mark.
    std::vector<fybsim::Element> securityRequestsSince(const fybsim::FybSensor::Mark &mark) const
    {
        std::vector<fybsim::Element> requests;
        const std::vector<fybsim::Received> all = server.received();
        for (std::size_t i = mark.received; i < all.size(); ++i)
            if (all[i].rootName() == "setSecurity")
                requests.push_back(*all[i].message.root);
        return requests;
    }

    // Exactly one setSecurity since the mark, and it is the expected tree.
    void expectSent(const fybsim::FybSensor::Mark &mark, const fybsim::Element &expected) const
    {
        const std::vector<fybsim::Element> sent = securityRequestsSince(mark);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_TRUE(sent.front() == expected) << "sent:     " << fybsim::xmlPartOf(sent.front())
                                              << "\nexpected: " << fybsim::xmlPartOf(expected);
    }

    QTemporaryDir files;
    QString chooserStart;
    QString chooserFolder;
    QStringList chooserFilters;
};
