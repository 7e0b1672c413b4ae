// Saving a security request as a message file: the file holds exactly the request, for its owner
// alone; the saved-file keys; failed writes; and the request log, which hides every password.
#include "SecurityTestSupport.h"

#include "PXRMessage.h"
#include "PXRQt.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

using namespace securitytest;
using fybsim::Element;

struct SaveCase
{
    const char *tag;
    const char *savedKey;
    std::function<void(QDialog &)> edit;
    Element expected;
};

void clickSave(QDialog &dialog)
{
    emit child<QLabel>(dialog, "labelSave")->linkActivated(QStringLiteral("save"));
}

constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;

TEST_F(SecurityTest, SavedFileHoldsExactlyTheRequestForItsOwnerOnly)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    const QByteArray pfx("P12\0bytes", 9);
    const QString pfxPath = writeFile("gate.pfx", pfx);
    const SaveCase cases[] = {
        {"security-certificates", "Security/LastSavedFile",
         [&](QDialog &dialog) {
             field(dialog, "edtPFX")->setText(pfxPath);
             field(dialog, "edtPassword")->setText("pfx pass");
         },
         Element("setSecurity").add(Element("sslPFX").withContent(bytesOf(pfx))).set("sslCertificatePassword", "pfx pass")},
        {"security-8021X", "Security/8021XLastSavedFile",
         [&](QDialog &dialog) {
             settingstest::choose(child<WidgetComboDoc>(dialog, "cboAuthentication"), "eap-tls");
             field(dialog, "edtPFX")->setText(pfxPath);
             field(dialog, "edtPassword")->setText("tls pass");
             field(dialog, "edtIdentity")->setText("gate");
         },
         Element("setSecurity")
             .add(Element("IEEE8021X")
                      .set("authentication", "eap-tls")
                      .add(Element("PFX").withContent(bytesOf(pfx)))
                      .set("certificatePassword", "tls pass")
                      .set("identity", "gate"))},
        {"security-lock", "Security/LastSavedFile",
         [](QDialog &dialog) {
             field(dialog, "edtCurrentPassword")->setText("old");
             field(dialog, "edtNewPassword1")->setText("n€w");
             field(dialog, "edtNewPassword2")->setText("n€w");
         },
         Element("setSecurity")
             .set("currentLockPassword", "old")
             .set("newLockPassword", "n€w")
             .set("lockPasswordHint", "")},
        {"security-plate", "Security/LastSavedFile",
         [&](QDialog &dialog) {
             field(dialog, "edtRSAFile")->setText(pfxPath);
             field(dialog, "edtPassword")->setText("rsa pass");
         },
         Element("setSecurity")
             .add(Element("rsaPublicKey").withContent(bytesOf(pfx)))
             .set("rsaPublicKeyPassword", "rsa pass")},
    };
    int round = 0;
    for (const SaveCase &c : cases) {
        SCOPED_TRACE(c.tag);
        const QString previous = files.filePath(QStringLiteral("previous-%1.pxrmsg").arg(round));
        QSettings().setValue(c.savedKey, previous);
        // Named without a suffix, and over a file others could read.
        const QString chosen = files.filePath(QStringLiteral("request-%1").arg(round++));
        const QString path = chosen + ".pxrmsg";
        writeFile(QFileInfo(path).fileName(), "older");
        QFile::setPermissions(path, kOwnerOnly | QFile::ReadOther | QFile::ReadGroup);
        const fybsim::FybSensor::Mark mark = server.mark();
        QByteArray first;
        const int result = run(c.tag, [&](QDialog &dialog) {
            c.edit(dialog);
            for (int i = 0; i < 2; ++i) {
                answers.push_back(choose(chosen));
                clickSave(dialog);
                EXPECT_EQ(seen.back().title, QString("Save"));
                EXPECT_EQ(chooserFilters, QStringList{"PXRMsg (*.pxrmsg)"});
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::ReadOnly));
                const QByteArray bytes = file.readAll();
                if (i == 0) {
                    first = bytes;
                    EXPECT_EQ(chooserStart, previous) << "the chooser proposes the remembered file";
                } else {
                    EXPECT_EQ(bytes, first) << "saving twice writes the same request";
                    EXPECT_EQ(chooserStart, path);
                }
            }
        });
        EXPECT_EQ(result, int(QDialog::Rejected)) << "saving never closes the dialog";
        EXPECT_EQ(kinds(), (QStringList{kinds().value(0), "QFileDialog", "QFileDialog"}));
        EXPECT_TRUE(securityRequestsSince(mark).empty()) << "saving never sends";
        EXPECT_EQ(QSettings().value(c.savedKey).toString(), path);
        EXPECT_EQ(QFile::permissions(path), kOwnerOnly);
        const std::optional<fybsim::WireMessage> parsed = fybsim::parseWire(first.toStdString());
        ASSERT_TRUE(parsed && parsed->root);
        EXPECT_TRUE(*parsed->root == c.expected) << "saved:    " << fybsim::xmlPartOf(*parsed->root)
                                                 << "\nexpected: " << fybsim::xmlPartOf(c.expected);
        const PXRMessage readBack(pxrMsgFromByteArray(first));
        ASSERT_NE(readBack.get(), nullptr);
        EXPECT_STREQ(PXRMsgElementName(PXRMsgChild(readBack.get())), "setSecurity");
    }
}

TEST_F(SecurityTest, SaveThatCannotBeDoneIsReportedOrLeavesNothing)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    const QString remembered = files.filePath("remembered.pxrmsg");
    const struct
    {
        const char *name;
        QString chosen; // empty: the operator cancels
        std::function<void(QDialog &)> edit;
        QStringList seenAfterDialog;
        QString keyAfter;
    } cases[] = {
        {"a folder that does not exist", files.filePath("no/such/folder/r.pxrmsg"), {},
         {"QFileDialog", "QMessageBox"}, files.filePath("no/such/folder/r.pxrmsg")},
        {"a folder in place of the file", files.path() + "/folder.pxrmsg", {}, {"QFileDialog", "QMessageBox"},
         files.path() + "/folder.pxrmsg"},
        {"cancelled", {}, {}, {"QFileDialog"}, remembered},
        {"a request that cannot be built asks nothing", files.filePath("never.pxrmsg"),
         [](QDialog &dialog) { field(dialog, "edtNewPassword1")->setText("a"); }, {"QMessageBox"}, remembered},
    };
    QDir(files.path()).mkdir("folder.pxrmsg");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QSettings().setValue("Security/LastSavedFile", remembered);
        const int result = run("security-lock", [&](QDialog &dialog) {
            if (c.edit)
                c.edit(dialog);
            if (c.seenAfterDialog.front() == "QFileDialog")
                answers.push_back(choose(c.chosen));
            clickSave(dialog);
        });
        EXPECT_EQ(result, int(QDialog::Rejected));
        EXPECT_EQ(kinds().mid(1), c.seenAfterDialog);
        if (c.seenAfterDialog.endsWith("QMessageBox") && c.seenAfterDialog.size() == 2) {
            EXPECT_EQ(seen.back().text, QString("Unable to open file"));
            EXPECT_EQ(seen.back().title, QString("Error"));
        }
        EXPECT_EQ(QSettings().value("Security/LastSavedFile").toString(), c.keyAfter);
        EXPECT_FALSE(QFileInfo(c.chosen).isFile());
    }
}

TEST_F(SecurityTest, RequestLogHidesPasswordsAndFileContents)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    const QString pfxPath = writeFile("gate.pfx", "PFXCONTENTMARKER");
    const QString before = appLog();
    run("security-certificates", [&](QDialog &dialog) {
        field(dialog, "edtPFX")->setText(pfxPath);
        field(dialog, "edtPassword")->setText("pfxSecret1");
        child<QPushButton>(dialog, "btnSet")->click();
    });
    run("security-8021X", [&](QDialog &dialog) {
        settingstest::choose(child<WidgetComboDoc>(dialog, "cboAuthentication"), "eap-tls");
        field(dialog, "edtPFX")->setText(pfxPath);
        field(dialog, "edtPassword")->setText("tlsSecret2");
        child<QPushButton>(dialog, "btnSet")->click();
    });
    run("security-lock", [&](QDialog &dialog) {
        field(dialog, "edtCurrentPassword")->setText("lockSecret3");
        field(dialog, "edtNewPassword1")->setText("lockSecret4");
        field(dialog, "edtNewPassword2")->setText("lockSecret4");
        child<QPushButton>(dialog, "btnSet")->click();
    });
    run("security-plate", [&](QDialog &dialog) {
        field(dialog, "edtRSAFile")->setText(pfxPath);
        field(dialog, "edtPassword")->setText("rsaSecret5");
        child<QPushButton>(dialog, "btnSet")->click();
    });
    const QString log = appLog().mid(before.size());
    EXPECT_EQ(log.count("Sending request:"), 4);
    EXPECT_GE(log.count("XXXXX"), 5);
    for (const char *secret : {"pfxSecret1", "tlsSecret2", "lockSecret3", "lockSecret4", "rsaSecret5", "PFXCONTENTMARKER"})
        EXPECT_FALSE(log.contains(QString::fromLatin1(secret))) << secret;
}

} // namespace
