// The client certificate dialog: its form and note, the three stored entries, and the file choices
// answered through the modal seam.
#include "CoreTestSupport.h"
#include "DialogCertificate.h"
#include "TestPictures.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

class DialogCertificateTest : public CoreTest
{
protected:
    static QLineEdit *field(QWidget &dialog, const char *name) { return dialog.findChild<QLineEdit *>(name); }
    static QGroupBox *group(QWidget &dialog) { return dialog.findChild<QGroupBox *>("groupSetNew"); }
    static void store(bool use, const QString &certificate, const QString &key)
    {
        QSettings settings;
        settings.setValue("GUI/useCertificateConnect", use);
        settings.setValue("GUI/certificateConnect", certificate);
        settings.setValue("GUI/keyConnect", key);
    }
};

TEST_F(DialogCertificateTest, FirstUseShowsAnUntickedGroupWithEmptyPaths)
{
    DialogCertificate dialog;
    EXPECT_EQ(dialog.windowTitle(), QString("Certificate"));
    EXPECT_EQ(dialog.size(), QSize(600, 242));
    EXPECT_EQ(group(dialog)->title(), QString("Use a client certificate to authenticate to the sensor"));
    EXPECT_TRUE(group(dialog)->isCheckable());
    EXPECT_FALSE(group(dialog)->isChecked());
    EXPECT_FALSE(field(dialog, "edtCert")->isEnabled()) << "the paths are locked while the group is unticked";
    EXPECT_TRUE(field(dialog, "edtCert")->text().isEmpty());
    EXPECT_TRUE(field(dialog, "edtPrivate")->text().isEmpty());
    const QString note = dialog.findChild<QLabel *>("label")->text();
    EXPECT_TRUE(note.contains("Note : if you set here a pair Certificate/private key, it will be used for "
                              "connection to the sensor."));
    EXPECT_TRUE(note.contains("If no client certificate is specified, none is sent")) << "no store is searched";
    keepPicture(dialog, "DialogCertificate");
}

TEST_F(DialogCertificateTest, OkStoresTheTickAndThePathsAsTyped)
{
    DialogCertificate dialog;
    dialog.show();
    group(dialog)->setChecked(true);
    field(dialog, "edtCert")->setText(" /etc/client cert.pem ");
    field(dialog, "edtPrivate")->setText("C:\\keys\\client.key");
    keepPicture(dialog, "DialogCertificate-ticked");
    press(dialog, "buttonBox", QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    const QSettings settings;
    EXPECT_TRUE(settings.value("GUI/useCertificateConnect").toBool());
    EXPECT_EQ(settings.value("GUI/certificateConnect").toString(), QString(" /etc/client cert.pem "));
    EXPECT_EQ(settings.value("GUI/keyConnect").toString(), QString("C:\\keys\\client.key"));
}

TEST_F(DialogCertificateTest, UntickingKeepsThePathsForNextTime)
{
    store(true, "/a/cert.pem", "/a/key.pem");
    {
        DialogCertificate dialog;
        EXPECT_TRUE(group(dialog)->isChecked());
        group(dialog)->setChecked(false);
        press(dialog, "buttonBox", QDialogButtonBox::Ok);
    }
    EXPECT_FALSE(QSettings().value("GUI/useCertificateConnect").toBool());
    DialogCertificate again;
    EXPECT_EQ(field(again, "edtCert")->text(), QString("/a/cert.pem"));
    EXPECT_EQ(field(again, "edtPrivate")->text(), QString("/a/key.pem"));
}

TEST_F(DialogCertificateTest, CancelLeavesTheEntriesAsTheyWere)
{
    store(false, "/a/cert.pem", "/a/key.pem");
    DialogCertificate dialog;
    dialog.show();
    group(dialog)->setChecked(true);
    field(dialog, "edtCert")->setText("/b/cert.pem");
    press(dialog, "buttonBox", QDialogButtonBox::Cancel);
    EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
    const QSettings settings;
    EXPECT_FALSE(settings.value("GUI/useCertificateConnect").toBool());
    EXPECT_EQ(settings.value("GUI/certificateConnect").toString(), QString("/a/cert.pem"));
}

TEST_F(DialogCertificateTest, FileButtonsOfferEveryFileAndFillTheirField)
{
    QTemporaryDir folder;
    for (const char *name : {"client", "other"})
        QFile(folder.filePath(name)).open(QIODevice::WriteOnly);
    const struct
    {
        const char *button;
        const char *caption;
        const char *field;
    } buttons[] = {{"btnCert", "Certificate", "edtCert"}, {"btnPrivate", "Private key", "edtPrivate"}};
    for (const auto &b : buttons) {
        DialogCertificate dialog;
        dialog.show();
        group(dialog)->setChecked(true);
        field(dialog, b.field)->setText(folder.path());
        bool accept = true;
        QString choice = folder.filePath("client");
        ZyModalRunner::setHandler([&](QDialog *shown) {
            auto *files = qobject_cast<QFileDialog *>(shown);
            EXPECT_NE(files, nullptr);
            EXPECT_EQ(files->windowTitle(), QString(b.caption));
            EXPECT_EQ(files->directory().absolutePath(), folder.path());
            EXPECT_EQ(files->nameFilters(), QStringList{"All files (*)"});
            EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptOpen);
            files->selectFile(choice);
            return int(accept ? QDialog::Accepted : QDialog::Rejected);
        });
        dialog.findChild<QToolButton *>(b.button)->click();
        EXPECT_EQ(field(dialog, b.field)->text(), folder.filePath("client")) << b.button;
        accept = false;
        choice = folder.filePath("other");
        dialog.findChild<QToolButton *>(b.button)->click();
        EXPECT_EQ(field(dialog, b.field)->text(), folder.filePath("client")) << "a cancelled choice changes nothing";
        ZyModalRunner::setHandler({});
    }
}

} // namespace
