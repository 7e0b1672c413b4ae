// The private key dialog: a key given to the window's plate decryptor, remembered for the next
// start when asked, refused without touching the key in force or the remembered one, erased; and
// a plate the sensor pushes encrypted, shown decrypted once the matching key is in force.
#include "SecurityTestSupport.h"

#include "AppSettings.h"
#include "PrivateKeyFile.h"
#include "RecognitionGroup.h"
#include "RecognitionTestSupport.h"
#include "TestPki.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

#include <openssl/pem.h>

#include <gtest/gtest.h>

namespace {

using namespace securitytest;
using fybsim::Element;

// An RSA key other than the test key, unencrypted.
QByteArray otherRsaKey()
{
    static const QByteArray pem = [] {
        EVP_PKEY *key = EVP_RSA_gen(2048);
        const std::string text = testpki::ToPem(key);
        EVP_PKEY_free(key);
        return QByteArray::fromStdString(text);
    }();
    return pem;
}

// The public half of the test key.
QByteArray testPublicKey()
{
    const QByteArray pem = testRsaKey(QByteArray());
    BIO *in = BIO_new_mem_buf(pem.constData(), int(pem.size()));
    EVP_PKEY *key = PEM_read_bio_PrivateKey(in, nullptr, nullptr, nullptr);
    BIO_free(in);
    BIO *out = BIO_new(BIO_s_mem());
    PEM_write_bio_PUBKEY(out, key);
    char *data = nullptr;
    const long length = BIO_get_mem_data(out, &data);
    const QByteArray result(data, int(length));
    BIO_free(out);
    EVP_PKEY_free(key);
    return result;
}

class PrivateKeyDialogTest : public SecurityTest
{
protected:
    // Runs the dialog as the window's action does; its result.
    int runPrivateKey(const Operator &act)
    {
        int result = -1;
        answers.push_back([&result, act](QDialog *dialog) {
            act(*dialog);
            result = dialog->result();
            return result;
        });
        seen.clear();
        dispatcher.runDialog(QStringLiteral("DialogRSAPrivateKey"));
        return result;
    }

    static QPushButton *ok(QDialog &dialog)
    {
        return child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok);
    }

    // The plate of a passage the sensor pushes, encrypted under the test key, as the recognition
    // list gets it.
    QString pushedPlate()
    {
        static const recotest::CryptedPlate crypted = recotest::encryptWithTestKey("AB-123-CD");
        QString plate;
        const QMetaObject::Connection connection = QObject::connect(
            &model()->masterRecognitions(), &RecognitionManager::recognitionGroupChanged,
            [&plate](const RecognitionGroup &group) {
                plate = QString::fromUtf8(PXRMsgElementAttributeValue(
                    PXRMsgElementFirstChild(PXRMsgChild(group.lastDecision()), "decision"), "plate"));
            });
        const std::string session = std::to_string(++m_session);
        server.push(Element("anpr")
                        .set("session", session)
                        .set("date", std::to_string(QDateTime::currentMSecsSinceEpoch()))
                        .add(Element("decision").set("plateCrypted", crypted.crypted)));
        EXPECT_TRUE(waitUntil([&] { return !plate.isEmpty(); }));
        QObject::disconnect(connection);
        return plate;
    }

    static QByteArray rememberedKey()
    {
        QByteArray key;
        QString passPhrase;
        AppSettings().loadPrivateKey(key, passPhrase);
        return key;
    }

private:
    int m_session = 0;
};

struct KeyCase
{
    const char *name;
    QByteArray key; // written to the key file; null: no file
    QString password;
    bool remember;
    bool unwritable;
    QStringList boxes; // empty: accepted
    const char *plate;
    QByteArray remembered;
};

TEST_F(PrivateKeyDialogTest, KeyIsSetRememberedOrRefused)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    const QByteArray plain = testRsaKey(QByteArray());
    const QByteArray locked = testRsaKey("phrase");
    const QString refused = "Unable to load private key";
    const QString notRemembered =
        "The private key is in use until the program ends, but it could not be remembered for the next start.";
    const QString unreadable = "Unable to open RSA key file";
    const QByteArray older = otherRsaKey();
    const KeyCase cases[] = {
        {"plain key, not remembered: the older file stays", plain, "", false, false, {}, "AB-123-CD", older},
        {"locked key remembered", locked, "phrase", true, false, {}, "AB-123-CD", locked},
        {"wrong pass phrase", locked, "wrong", true, false, {refused}, "[Crypted]", older},
        {"a public key", testPublicKey(), "", true, false, {refused}, "[Crypted]", older},
        {"an EC key", QByteArray::fromStdString(testpki::ToPem(testpki::MakeKey().get())), "", true, false, {refused},
         "[Crypted]", older},
        {"no such file", QByteArray(), "", true, false, {unreadable}, "[Crypted]", older},
        {"a file over the limit", QByteArray(10000001, '-'), "", true, false, {unreadable}, "[Crypted]", older},
        {"pass phrase too long to remember", plain, QString(10001, 'p'), true, false, {notRemembered}, "AB-123-CD",
         older},
        {"key too long to remember", plain + QByteArray(10000, '\n'), "", true, false, {notRemembered}, "AB-123-CD",
         older},
        {"a folder that cannot be written", plain, "", true, true, {notRemembered}, "AB-123-CD", older},
        {"the same, not asked to remember", plain, "", false, true, {}, "AB-123-CD", older},
    };
    QFile blocker(files.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const QByteArray appData = qgetenv("APPDATA");
    for (const KeyCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(AppSettings().setPrivateKey(older, QString(), true));
        const QString path = c.key.isNull() ? files.filePath("missing.pem") : writeFile("key.pem", c.key);
        if (c.unwritable)
            qputenv("APPDATA", blocker.fileName().toUtf8());
        const int result = runPrivateKey([&](QDialog &dialog) {
            field(dialog, "edtRSAFile")->setText(path);
            field(dialog, "edtPassword")->setText(c.password);
            child<QCheckBox>(dialog, "checkRemember")->setChecked(c.remember);
            ok(dialog)->click();
            EXPECT_EQ(field(dialog, "edtRSAFile")->text(), path);
        });
        qputenv("APPDATA", appData);
        EXPECT_EQ(result, int(c.boxes.isEmpty() ? QDialog::Accepted : QDialog::Rejected));
        EXPECT_EQ(texts().mid(1), c.boxes);
        if (!c.boxes.isEmpty())
            EXPECT_EQ(seen.back().title, QString("Error"));
        EXPECT_EQ(pushedPlate(), QString::fromLatin1(c.plate));
        EXPECT_EQ(rememberedKey(), c.remembered) << "what the next start restores";
    }
}

TEST_F(PrivateKeyDialogTest, EraseTakesTheKeyAwayAndItsLabelWithIt)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    runPrivateKey([](QDialog &dialog) {
        EXPECT_FALSE(settingstest::shown(child<QLabel>(dialog, "labelConfiguredKey"))) << "no key held";
    });
    ASSERT_TRUE(AppSettings().setPrivateKey(testRsaKey(QByteArray()), QString(), true));
    ASSERT_EQ(pushedPlate(), QString("AB-123-CD"));
    const int result = runPrivateKey([](QDialog &dialog) {
        QLabel *erase = child<QLabel>(dialog, "labelConfiguredKey");
        EXPECT_TRUE(settingstest::shown(erase));
        emit erase->linkActivated(QStringLiteral("erase"));
    });
    EXPECT_EQ(result, int(QDialog::Accepted));
    EXPECT_FALSE(AppSettings().hasPrivateKey());
    EXPECT_FALSE(QFile::exists(PrivateKeyFile::path()));
    EXPECT_EQ(pushedPlate(), QString("[Crypted]"));
    runPrivateKey([](QDialog &dialog) { EXPECT_FALSE(settingstest::shown(child<QLabel>(dialog, "labelConfiguredKey"))); });
}

TEST_F(PrivateKeyDialogTest, EraseFromThePlateDialogLeavesItOpenAndUnchanged)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    ASSERT_TRUE(AppSettings().setPrivateKey(testRsaKey(QByteArray()), QString(), false));
    const int result = run("security-plate", [&](QDialog &dialog) {
        field(dialog, "edtIndicator")->setText("typed");
        answers.push_back([](QDialog *privateKey) {
            emit privateKey->findChild<QLabel *>("labelConfiguredKey")->linkActivated(QStringLiteral("erase"));
            return privateKey->result();
        });
        emit child<QLabel>(dialog, "labelPrivateKey")->linkActivated(QStringLiteral("here"));
        EXPECT_EQ(field(dialog, "edtIndicator")->text(), QString("typed"));
        EXPECT_EQ(dialog.result(), 0);
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(AppSettings().hasPrivateKey());
}

TEST_F(PrivateKeyDialogTest, KeyPathAndNoteComeFromTheSettings)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    const QString remembered = writeFile("old.pem", "old");
    const QString picked = writeFile("new.pem", "new");
    QSettings().setValue("Security/LastRSAPrivateKeyPath", remembered);
    runPrivateKey([&](QDialog &dialog) {
        EXPECT_EQ(field(dialog, "edtRSAFile")->text(), remembered);
        const QString folder = QFileInfo(AppSettings().privateKeyFilePath()).absolutePath();
        EXPECT_TRUE(child<QLabel>(dialog, "label_2")->text().contains(folder)) << "the note names the real folder";
        field(dialog, "edtRSAFile")->setText("typed");
        answers.push_back(choose(picked));
        child<QToolButton>(dialog, "btnRSAFile")->click();
        EXPECT_EQ(chooserStart, remembered);
        EXPECT_EQ(chooserFilters, QStringList{"All files (*)"});
        EXPECT_EQ(field(dialog, "edtRSAFile")->text(), picked);
    });
    EXPECT_EQ(QSettings().value("Security/LastRSAPrivateKeyPath").toString(), picked);
}

TEST_F(PrivateKeyDialogTest, PrivateKeyDialogPicture)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    ASSERT_TRUE(AppSettings().setPrivateKey(testRsaKey(QByteArray()), QString(), false));
    QSettings().setValue("Security/LastRSAPrivateKeyPath", files.filePath("plates.pem"));
    runPrivateKey([](QDialog &dialog) { keepPicture(dialog, "security-private-key"); });
}

} // namespace
