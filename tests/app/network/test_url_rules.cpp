// The URL and host-name rules against tables of texts as an operator could type them.
#include "UrlRules.h"

#include <gtest/gtest.h>

namespace {

struct UrlCase
{
    const char16_t *text;
    const char *scheme; // empty when the text must be refused
};

const UrlCase kUrlCases[] = {
    {u"https://sensor.example/", "https"},
    {u"http://192.168.1.20:8080/rvd/sensor", "http"},
    {u"http://host:80/", "http"},
    {u"https://my_host/a/b/c?x=1&y=2", "https"},
    {u"http://h%20st/p@q:r;s=t,u+v*w(x)y'z!$~.-_", "http"},
    {u"https://sensor.example", ""},         // no path
    {u"https://sensor.example:8080", ""},    // port but no path
    {u"HTTPS://sensor.example/", ""},        // scheme in capitals
    {u"Http://sensor.example/", ""},
    {u"ftp://sensor.example/", ""},
    {u"https:/sensor.example/", ""},
    {u"https:///", ""},                       // no host
    {u"http://host:80a/", ""},                // port with a letter
    {u"http://host:/", ""},                   // colon without port
    {u"https://sensor.example/\n", ""},       // trailing line break
    {u"https://sensor.example/\r\n", ""},
    {u"https://sensor.example/ ", ""},        // trailing blank
    {u" https://sensor.example/", ""},        // leading blank
    {u"https://sensor example/", ""},
    {u"https://sensor.example/a b", ""},
    {u"https://sensor.example/#top", ""},
    {u"https://sensor.example/a#", ""},
    {u"http://[::1]/", ""},                   // square brackets
    {u"https://caf\u00e9.example/", ""},      // non-ASCII letter in the host
    {u"https://sensor.example/caf\u00e9", ""},// non-ASCII letter in the path
    {u"https://sensor.example/\u0661", ""},   // non-ASCII digit
    {u"http://\u212a/", ""},                  // Kelvin sign
    {u"xhttp://sensor.example/", ""},
    {u"", ""},
};

TEST(UrlRules, UrlRuleAcceptsOnlyWholeUrlsWithPathAndGivesScheme)
{
    for (const UrlCase &c : kUrlCases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(UrlRules::urlScheme(text).toStdString(), c.scheme);
        EXPECT_EQ(UrlRules::isValidUrl(text), c.scheme[0] != '\0');
    }
}

struct HostCase
{
    QString text;
    bool valid;
};

TEST(UrlRules, HostNameRuleTakesOneLabelOfAsciiLettersDigitsAndHyphens)
{
    const HostCase cases[] = {
        {"sensor-01", true},
        {"Sensor-01", true},
        {"SENSOR", true},
        {"0", true},
        {"9lives", true},
        {"a-", true},
        {"a" + QString(62, 'b'), true},   // 63 characters
        {"a" + QString(63, 'b'), false},  // 64 characters
        {"", false},
        {"-sensor", false},
        {"sensor_01", false},
        {"sensor.local", false},
        {"sensor 01", false},
        {" sensor", false},
        {"sensor\n", false},
        {QString::fromUtf16(u"caf\u00e9"), false},
        {QString::fromUtf16(u"\u212aelvin"), false}, // Kelvin sign, a case variant of "k"
        {QString::fromUtf16(u"te\u017ft"), false},   // long s, a case variant of "s"
    };
    for (const HostCase &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(UrlRules::isValidHostName(c.text), c.valid);
    }
}

} // namespace
