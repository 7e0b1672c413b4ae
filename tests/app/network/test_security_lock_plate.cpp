// The lock password and plate encryption dialogs: their requests, the sensor's state they show,
// and the plate dialog's note that opens the private key dialog.
#include "SecurityTestSupport.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using namespace securitytest;
using fybsim::Element;

TEST_F(SecurityTest, LockRequestCarriesTheNewPasswordAndHint)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    const struct
    {
        const char *name;
        const char *current, *new1, *new2, *hint;
        std::optional<Element> expected; // nothing: refused
    } cases[] = {
        {"all empty", "", "", "", "", Element("setSecurity").set("newLockPassword", "").set("lockPasswordHint", "")},
        {"a change", "old", "nëw", "nëw", "Clé ✓",
         Element("setSecurity")
             .set("currentLockPassword", "old")
             .set("newLockPassword", "nëw")
             .set("lockPasswordHint", "Clé ✓")},
        {"current password alone clears it", "old", "", "", "",
         Element("setSecurity").set("currentLockPassword", "old").set("newLockPassword", "").set("lockPasswordHint", "")},
        {"new passwords differ in case", "", "Secret", "secret", "", std::nullopt},
        {"new passwords differ by a space", "", "secret", "secret ", "", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = run("security-lock", [&](QDialog &dialog) {
            field(dialog, "edtCurrentPassword")->setText(QString::fromUtf8(c.current));
            field(dialog, "edtNewPassword1")->setText(QString::fromUtf8(c.new1));
            field(dialog, "edtNewPassword2")->setText(QString::fromUtf8(c.new2));
            field(dialog, "edtPasswordIndicator")->setText(QString::fromUtf8(c.hint));
            child<QPushButton>(dialog, "btnSet")->click();
            EXPECT_EQ(field(dialog, "edtNewPassword2")->text(), QString::fromUtf8(c.new2));
        });
        if (c.expected) {
            EXPECT_EQ(result, int(QDialog::Accepted));
            ASSERT_NO_FATAL_FAILURE(expectSent(mark, *c.expected));
        } else {
            EXPECT_EQ(result, int(QDialog::Rejected));
            EXPECT_EQ(texts().mid(1), QStringList{"New passwords are not the same"});
            EXPECT_EQ(seen.back().title, QString("Error"));
            EXPECT_TRUE(securityRequestsSince(mark).empty());
        }
    }
}

struct StateCase
{
    const char *name;
    std::optional<Element> security;
    QString lockState, lockHint, plateState, plateHint;
};

TEST_F(SecurityTest, LockAndPlateDialogsShowTheSensorsState)
{
    const StateCase cases[] = {
        {"as reported", securitytest::security(), "A password is set", QString::fromUtf8("Clé de l'été ✓"),
         "Plates are encrypted", "key of 2026"},
        {"true and markup", Element("security")
                                .set("lockPasswordNeeded", "true")
                                .set("lockPasswordHint", "<b>bold</b>")
                                .set("rsaCrypted", "TRUE")
                                .set("rsaHint", "<i>it</i>"),
         "A password is set", "<b>bold</b>", "Plates are not encrypted", "<i>it</i>"},
        {"nothing set", Element("security"), "There is no password set", "", "Plates are not encrypted", ""},
        {"no security element", std::nullopt, "TextLabel", "TextLabel", "TextLabel", "TextLabel"},
    };
    for (const StateCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(startWith(c.security));
        for (const auto &[tag, state, hint] : {std::tuple{"security-lock", c.lockState, c.lockHint},
                                               std::tuple{"security-plate", c.plateState, c.plateHint}}) {
            run(tag, [&](QDialog &dialog) {
                EXPECT_EQ(child<QLabel>(dialog, "labelCurrentPassword")->text(), state) << tag;
                QLabel *hintLabel = child<QLabel>(dialog, "labelCurrentHint");
                EXPECT_EQ(hintLabel->text(), hint) << tag;
                EXPECT_EQ(hintLabel->textFormat(), Qt::PlainText) << tag;
            });
        }
    }
}

TEST_F(SecurityTest, LockHintTravelsAsUtf8AndComesBackUnchanged)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    const QString hint = QString::fromUtf8("Ünïcödé ☂ 雨");
    const fybsim::FybSensor::Mark mark = server.mark();
    run("security-lock", [&](QDialog &dialog) {
        field(dialog, "edtPasswordIndicator")->setText(hint);
        child<QPushButton>(dialog, "btnSet")->click();
    });
    const std::vector<Element> sent = securityRequestsSince(mark);
    ASSERT_EQ(sent.size(), 1u);
    ASSERT_NE(sent.front().attribute("lockPasswordHint"), nullptr);
    EXPECT_EQ(*sent.front().attribute("lockPasswordHint"), hint.toStdString());
    Element state = securitytest::security();
    state.set("lockPasswordHint", hint.toStdString());
    ASSERT_NO_FATAL_FAILURE(push(securitytest::infosWith(state)));
    run("security-lock", [&](QDialog &dialog) { EXPECT_EQ(child<QLabel>(dialog, "labelCurrentHint")->text(), hint); });
}

TEST_F(SecurityTest, PlateRequestCarriesTheKeyFileOrAsksForNoEncryption)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    const QByteArray publicKey = "-----BEGIN PUBLIC KEY-----\nMIIB\n-----END PUBLIC KEY-----\n";
    const QString keyPath = writeFile("plates.pub", publicKey);
    const struct
    {
        const char *name;
        QString path;
        const char *password, *hint;
        std::optional<Element> expected;
    } cases[] = {
        {"no key, nothing typed", {}, "", "",
         Element("setSecurity").add(Element("rsaPublicKey")).set("rsaPublicKeyPassword", "")},
        {"a key with password and hint", keyPath, "pw", "hïnt",
         Element("setSecurity")
             .add(Element("rsaPublicKey").withContent(bytesOf(publicKey)))
             .set("rsaPublicKeyPassword", "pw")
             .set("rsaHint", "hïnt")},
        {"a missing key file", files.filePath("missing.pub"), "pw", "", std::nullopt},
        {"a key file over the limit", writeFile("huge.pub", QByteArray(10000001, 'k')), "", "", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = run("security-plate", [&](QDialog &dialog) {
            EXPECT_EQ(field(dialog, "edtRSAFile")->text(), QString()) << "no key unless one is picked";
            field(dialog, "edtRSAFile")->setText(c.path);
            field(dialog, "edtPassword")->setText(QString::fromUtf8(c.password));
            field(dialog, "edtIndicator")->setText(QString::fromUtf8(c.hint));
            child<QPushButton>(dialog, "btnSet")->click();
            EXPECT_EQ(field(dialog, "edtRSAFile")->text(), c.path) << "the field is kept";
        });
        if (c.expected) {
            EXPECT_EQ(result, int(QDialog::Accepted));
            ASSERT_NO_FATAL_FAILURE(expectSent(mark, *c.expected));
        } else {
            EXPECT_EQ(result, int(QDialog::Rejected));
            EXPECT_EQ(texts().mid(1), QStringList{"Unable to open RSA key file"});
            EXPECT_TRUE(securityRequestsSince(mark).empty());
        }
    }
}

TEST_F(SecurityTest, PlateKeyPickerStartsAtTheRememberedKey)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    const QString remembered = writeFile("old.pub", "old");
    const QString picked = writeFile("new.pub", "new");
    QSettings().setValue("Security/LastRSAKeyPath", remembered);
    run("security-plate", [&](QDialog &dialog) {
        field(dialog, "edtRSAFile")->setText(QStringLiteral("/somewhere/else"));
        answers.push_back(choose(picked));
        child<QToolButton>(dialog, "btnRSAFile")->click();
        EXPECT_EQ(chooserStart, remembered);
        EXPECT_EQ(chooserFilters, QStringList{"All files (*)"});
        EXPECT_EQ(field(dialog, "edtRSAFile")->text(), picked);
    });
    EXPECT_EQ(QSettings().value("Security/LastRSAKeyPath").toString(), picked);
}

TEST_F(SecurityTest, PlateNoteOpensThePrivateKeyDialogOverThePlateDialog)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    run("security-plate", [&](QDialog &dialog) {
        field(dialog, "edtIndicator")->setText("kept");
        QWidget *parent = nullptr;
        answers.push_back([&parent](QDialog *privateKey) {
            parent = privateKey->parentWidget();
            return int(QDialog::Rejected);
        });
        QLabel *note = child<QLabel>(dialog, "labelPrivateKey");
        EXPECT_TRUE(note->text().contains("href="));
        emit note->linkActivated(QStringLiteral("here"));
        EXPECT_EQ(kinds().mid(1), QStringList{"DialogRSAPrivateKey"});
        EXPECT_EQ(parent, &dialog);
        EXPECT_EQ(field(dialog, "edtIndicator")->text(), QString("kept"));
        EXPECT_EQ(dialog.result(), 0);
    });
}

TEST_F(SecurityTest, LockAndPlateDialogPictures)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    run("security-lock", [&](QDialog &dialog) { keepPicture(dialog, "security-lock"); });
    run("security-plate", [&](QDialog &dialog) { keepPicture(dialog, "security-plate"); });
}

} // namespace
