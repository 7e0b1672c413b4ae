// Translated labels of sensor tokens and names of context codes.
#include "ToolboxTestSupport.h"
#include "ZyLumatrekTr.h"

#include <QTranslator>

namespace {

TEST(LumatrekTrTest, TokensMatchIgnoringCaseAndUnknownTokensComeBackAsSent)
{
    const struct
    {
        QString (*label)(const char *);
        const char *token;
        const char *expected;
    } cases[] = {
        {ZyLumatrekTr::sideLabel, "FRONT", "Front"},
        {ZyLumatrekTr::sideLabel, "left", "left"},
        {ZyLumatrekTr::valueLabel, "off", "Off"},
        {ZyLumatrekTr::applicationLabel, "off", "Disabled"},
        {ZyLumatrekTr::valueLabel, "full", "full"},
        {ZyLumatrekTr::imageSizeLabel, "CIF", "CIF (352x288)"},
        {ZyLumatrekTr::lightingLabel, "whitelight", "Auto (white light)"},
        {ZyLumatrekTr::valueLabel, "streaming", "Auto"},
        {ZyLumatrekTr::simpleAdvancedLabel, "advanced", "Advanced"},
        {ZyLumatrekTr::phaseLabel, "outOfPhase", "Out of phase"},
        {ZyLumatrekTr::mountingLabel, "gantry", "Gantry"},
        {ZyLumatrekTr::valueLabel, "caf\xc3\xa9", "caf\xc3\xa9"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.label(c.token), QString::fromUtf8(c.expected)) << c.token;
}

TEST(LumatrekTrTest, ValueLabelsNameSensorTypesSwitchesAndTemperatures)
{
    EXPECT_EQ(ZyLumatrekTr::sensorTypeLabel(0), "ANPR sensor");
    EXPECT_EQ(ZyLumatrekTr::sensorTypeLabel(1), "Context sensor");
    EXPECT_EQ(ZyLumatrekTr::sensorTypeLabel(2), "Custom");
    EXPECT_EQ(ZyLumatrekTr::sensorTypeLabel(-1), "Custom");
    EXPECT_EQ(ZyLumatrekTr::onOffLabel(7), "On");
    EXPECT_EQ(ZyLumatrekTr::onOffLabel(0), "Off");
    EXPECT_EQ(ZyLumatrekTr::yesNoLabel(-3), "Yes");
    EXPECT_EQ(ZyLumatrekTr::yesNoLabel(false), "No");
    EXPECT_EQ(ZyLumatrekTr::temperatureLabel(-5), QString("-5 ") + QChar(0xB0) + "C");
    EXPECT_EQ(ZyLumatrekTr::temperatureLabel(42), QString("42 ") + QChar(0xB0) + "C");
}

TEST(LumatrekTrTest, ContextCodesAreExactAndRegionsFallBackToTheirCountry)
{
    const struct
    {
        const char *code;
        const char *name;
    } cases[] = {
        {"F", "France"},
        {"FR", "France"},
        {"f", "f"},
        {"usa", "usa"},
        {"F/CORSE", "F/CORSE"},
        {"F/Corse", "Corsica"},
        {"CORSE", "Corsica"},
        {"CDN/QC", "Canada - Qu\xc3\xa9" "bec"},
        {"CDN/XY", "Canada - XY"},
        {"USA/PR", "USA - PR"},
        {"USA/TX", "USA - Texas"},
        {"CDN/AB/1", "CDN/AB/1"},
        {"AUS/QLD", "Australia - Queensland"},
        {"QLD_AUS", "Australia - Queensland"},
        {"NT_AUS", "Australia - Nothern Territory"},
        {"AUS/XY", "AUS/XY"},
        {"LAO", "Lao People's Democratic Republic"},
        {"HN", "Honduras"},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ZyLumatrekTr::contextName(QString::fromUtf8(c.code)), QString::fromUtf8(c.name)) << c.code;
}

TEST(LumatrekTrTest, ForeignCandidatesExistOnlyForTheirExactCountryCodes)
{
    EXPECT_EQ(ZyLumatrekTr::foreignContexts("F"), QStringList({"CH", "L", "GB", "B"}));
    EXPECT_EQ(ZyLumatrekTr::foreignContexts("B"), QStringList({"L", "GB"}));
    EXPECT_EQ(ZyLumatrekTr::foreignContexts("GB"), QStringList({"IRL", "NL"}));
    EXPECT_EQ(ZyLumatrekTr::foreignContexts("D").size(), 5);
    EXPECT_TRUE(ZyLumatrekTr::foreignContexts("f").isEmpty());
    EXPECT_TRUE(ZyLumatrekTr::foreignContexts("I").isEmpty());
}

TEST(LumatrekTrTest, FrenchTranslationFileNamesLabelsAndContexts)
{
    QTranslator translator;
    ASSERT_TRUE(translator.load(QStringLiteral(BZK_PROGRAM_DIR "/zylumatrektr_fr.qm")));
    QCoreApplication::installTranslator(&translator);
    EXPECT_EQ(ZyLumatrekTr::sideLabel("rear"), QString::fromUtf8("Arri\xc3\xa8re"));
    EXPECT_EQ(ZyLumatrekTr::contextName("D"), "Allemagne");
    EXPECT_EQ(ZyLumatrekTr::contextName("USA/XY"), QString::fromUtf8("\xc3\x89tats-Unis - XY"));
    EXPECT_EQ(ZyLumatrekTr::contextName("CH"), "Suisse");
    QCoreApplication::removeTranslator(&translator);
    EXPECT_EQ(ZyLumatrekTr::contextName("D"), "Germany");
}

} // namespace
