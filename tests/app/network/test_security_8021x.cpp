// The 802.1X dialog: the method chooser from the schema, the request of each method and the
// EAP-TLS material, and the sensor's current method and certificate.
#include "SecurityTestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using namespace securitytest;
using fybsim::Element;

struct Dot1xCase
{
    const char *name;
    const char *method;
    bool pfx;
    QString pfxPath, certPath, keyPath, authorityPath;
    const char *password;
    const char *identity;
    std::optional<Element> expected; // nothing: refused with the error
    const char *error;
};

Element dot1xRequest(Element dot1x)
{
    return Element("setSecurity").add(std::move(dot1x));
}

TEST_F(SecurityTest, Dot1xRequestFollowsTheMethod)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    const QByteArray pfx("P12\0x", 5);
    const QString pfxPath = writeFile("client.p12", pfx);
    const QString certPath = writeFile("client.crt", "cert");
    const QString keyPath = writeFile("client.key", "key");
    const QString authorityPath = writeFile("ca.crt", "ca");
    const QString missing = files.filePath("missing");
    const Dot1xCase cases[] = {
        {"none sends the method alone", "none", true, pfxPath, certPath, keyPath, authorityPath, "pw", "me",
         dot1xRequest(Element("IEEE8021X").set("authentication", "none")), nullptr},
        {"a third method sends the method alone", "eap-peap", false, missing, missing, missing, missing, "pw", "me",
         dot1xRequest(Element("IEEE8021X").set("authentication", "eap-peap")), nullptr},
        {"PFX with password and identity", "eap-tls", true, pfxPath, {}, {}, {}, "pw", "gate-4",
         dot1xRequest(Element("IEEE8021X")
                          .set("authentication", "eap-tls")
                          .add(Element("PFX").withContent(bytesOf(pfx)))
                          .set("certificatePassword", "pw")
                          .set("identity", "gate-4")),
         nullptr},
        {"files, no password, empty identity", "eap-tls", false, {}, certPath, keyPath, authorityPath, "", "",
         dot1xRequest(Element("IEEE8021X")
                          .set("authentication", "eap-tls")
                          .add(Element("certificate").withContent("cert"))
                          .add(Element("privateKey").withContent("key"))
                          .add(Element("certificateAuthority").withContent("ca"))
                          .set("identity", "")),
         nullptr},
        {"the authority is required", "eap-tls", false, {}, certPath, keyPath, {}, "", "", std::nullopt,
         "Unable to open Certificate authority file"},
        {"missing PFX", "eap-tls", true, missing, {}, {}, {}, "", "", std::nullopt, "Unable to open PFX file"},
        {"missing certificate", "eap-tls", false, {}, missing, keyPath, authorityPath, "", "", std::nullopt,
         "Unable to open Certifcate file"},
        {"missing key", "eap-tls", false, {}, certPath, missing, authorityPath, "", "", std::nullopt,
         "Unable to open Private key file"},
    };
    for (const Dot1xCase &c : cases) {
        SCOPED_TRACE(c.name);
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = run("security-8021X", [&](QDialog &dialog) {
            ASSERT_TRUE(settingstest::choose(child<WidgetComboDoc>(dialog, "cboAuthentication"), c.method));
            child<QRadioButton>(dialog, c.pfx ? "radioPFX" : "radioFiles")->setChecked(true);
            field(dialog, "edtPFX")->setText(c.pfxPath);
            field(dialog, "edtCert")->setText(c.certPath);
            field(dialog, "edtPrivate")->setText(c.keyPath);
            field(dialog, "edtAuthority")->setText(c.authorityPath);
            field(dialog, "edtPassword")->setText(QString::fromUtf8(c.password));
            field(dialog, "edtIdentity")->setText(QString::fromUtf8(c.identity));
            child<QPushButton>(dialog, "btnSet")->click();
        });
        if (c.expected) {
            EXPECT_EQ(result, int(QDialog::Accepted));
            ASSERT_NO_FATAL_FAILURE(expectSent(mark, *c.expected));
        } else {
            EXPECT_EQ(result, int(QDialog::Rejected));
            EXPECT_EQ(texts().mid(1), QStringList{QString::fromUtf8(c.error)});
            EXPECT_TRUE(securityRequestsSince(mark).empty());
        }
    }
}

TEST_F(SecurityTest, Dot1xChooserStartsOnTheSchemasFirstMethodAndShowsTheCurrentOne)
{
    const struct
    {
        const char *name;
        std::optional<const char *> current; // nothing: no attribute
        const char *shown;
    } cases[] = {
        {"upper-case none", "NONE", "None (disabled)"},
        {"no method", std::nullopt, "None (disabled)"},
        {"eap-tls", "eap-tls", "eap-tls"},
        {"markup", "<b>x</b>", "<b>x</b>"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Element state = securitytest::security();
        for (Element &e : state.children)
            if (e.name == "IEEE8021X") {
                std::erase_if(e.attributes, [](const auto &a) { return a.first == "authentication"; });
                if (c.current)
                    e.set("authentication", *c.current);
            }
        ASSERT_NO_FATAL_FAILURE(startWith(state));
        run("security-8021X", [&](QDialog &dialog) {
            QLabel *method = child<QLabel>(dialog, "labelAuthMethod");
            EXPECT_EQ(method->text(), QString::fromUtf8(c.shown));
            EXPECT_EQ(method->textFormat(), Qt::PlainText);
            auto *combo = child<WidgetComboDoc>(dialog, "cboAuthentication");
            EXPECT_EQ(combo->count(), 3);
            EXPECT_EQ(combo->currentValue(), QByteArray("none"));
            EXPECT_FALSE(settingstest::shown(child<QWidget>(dialog, "widgetEAPTPS")));
            EXPECT_EQ(child<QLabel>(dialog, "labelCertCommonName")->text(), QString("gate4.example"));
            settingstest::choose(combo, "eap-tls");
            EXPECT_TRUE(settingstest::shown(child<QWidget>(dialog, "widgetEAPTPS")));
            EXPECT_TRUE(settingstest::shown(child<QWidget>(dialog, "widgetPFX")));
            EXPECT_FALSE(settingstest::shown(child<QWidget>(dialog, "widget3")));
            child<QRadioButton>(dialog, "radioFiles")->setChecked(true);
            EXPECT_FALSE(settingstest::shown(child<QWidget>(dialog, "widgetPFX")));
            EXPECT_TRUE(settingstest::shown(child<QWidget>(dialog, "widget3")));
            settingstest::choose(combo, "eap-peap");
            EXPECT_FALSE(settingstest::shown(child<QWidget>(dialog, "widgetEAPTPS")));
        });
    }
}

TEST_F(SecurityTest, Dot1xWithoutItsElementKeepsThePlaceholders)
{
    Element state = securitytest::security();
    std::erase_if(state.children, [](const Element &e) { return e.name == "IEEE8021X"; });
    ASSERT_NO_FATAL_FAILURE(startWith(state));
    run("security-8021X", [&](QDialog &dialog) {
        for (const char *name : {"labelAuthMethod", "labelCertCommonName", "labelCertFrom", "labelCertTo"})
            EXPECT_EQ(child<QLabel>(dialog, name)->text(), QString("TextLabel")) << name;
    });
}

TEST_F(SecurityTest, Dot1xPicksAreRememberedUnderTheirOwnKeys)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    const QString picked = writeFile("client.pem", "pem");
    const struct
    {
        const char *button;
        const char *field;
        const char *key;
    } rows[] = {
        {"btnPFX", "edtPFX", "Security/8021XLastPFXUsed"},
        {"btnCert", "edtCert", "Security/8021XLastCertFileUsed"},
        {"btnPrivate", "edtPrivate", "Security/8021XLastPrivateFileUsed"},
        {"btnAuthority", "edtAuthority", "Security/8021XLastAuthorityFileUsed"},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.button);
        run("security-8021X", [&](QDialog &dialog) {
            answers.push_back(choose(picked));
            child<QToolButton>(dialog, r.button)->click();
        });
        EXPECT_EQ(QSettings().value(r.key).toString(), picked);
        EXPECT_FALSE(QSettings().contains(QString(r.key).remove("8021X")));
        run("security-8021X", [&](QDialog &dialog) { EXPECT_EQ(field(dialog, r.field)->text(), picked); });
    }
}

TEST_F(SecurityTest, Dot1xDialogPicture)
{
    ASSERT_NO_FATAL_FAILURE(startWith());
    QSettings().setValue("Security/8021XLastCertFileUsed", files.filePath("client.crt"));
    QSettings().setValue("Security/8021XLastPrivateFileUsed", files.filePath("client.key"));
    QSettings().setValue("Security/8021XLastAuthorityFileUsed", files.filePath("ca.crt"));
    run("security-8021X", [&](QDialog &dialog) {
        settingstest::choose(child<WidgetComboDoc>(dialog, "cboAuthentication"), "eap-tls");
        child<QRadioButton>(dialog, "radioFiles")->setChecked(true);
        keepPicture(dialog, "security-8021x");
    });
}

} // namespace
