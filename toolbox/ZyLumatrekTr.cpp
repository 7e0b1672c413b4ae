// Labels of the sensor's configuration tokens and names of its recognition context codes, translated.
#include "ZyLumatrekTr.h"

#include <QHash>

#include <iterator>

namespace {

struct Label
{
    const char *token;
    const char *label;
};

#define ZY_LABEL(token, label) {token, QT_TRANSLATE_NOOP("ZyLumatrekTr", label)}

const Label kValueLabels[] = {
    ZY_LABEL("front", "Front"), ZY_LABEL("rear", "Rear"), ZY_LABEL("both", "Both"), ZY_LABEL("off", "Off"),
    ZY_LABEL("simple", "Simple"), ZY_LABEL("advanced", "Advanced"), ZY_LABEL("freeFlow", "Free flow"),
    ZY_LABEL("embedded", "Embedded"), ZY_LABEL("accessControl", "Access control"),
    ZY_LABEL("urbanFreeFlow", "Urban free flow"), ZY_LABEL("manual", "Manual"),
    ZY_LABEL("infrared", "Auto (infrared light)"), ZY_LABEL("whiteLight", "Auto (white light)"),
    ZY_LABEL("streaming", "Auto"), ZY_LABEL("gantry", "Gantry"), ZY_LABEL("lateral", "Lateral"),
    ZY_LABEL("slow", "Slow"), ZY_LABEL("fast", "Fast"), ZY_LABEL("normal", "Normal"),
    ZY_LABEL("inPhase", "In phase"), ZY_LABEL("outOfPhase", "Out of phase"),
};
const Label kSideLabels[] = {ZY_LABEL("front", "Front"), ZY_LABEL("rear", "Rear"), ZY_LABEL("both", "Both")};
const Label kLightingLabels[] = {
    ZY_LABEL("manual", "Manual"), ZY_LABEL("infrared", "Auto (infrared light)"),
    ZY_LABEL("whiteLight", "Auto (white light)"), ZY_LABEL("streaming", "Auto"),
};
const Label kApplicationLabels[] = {
    ZY_LABEL("off", "Disabled"), ZY_LABEL("freeFlow", "Free flow"), ZY_LABEL("embedded", "Embedded"),
    ZY_LABEL("accessControl", "Access control"), ZY_LABEL("urbanFreeFlow", "Urban free flow"),
};
const Label kSimpleAdvancedLabels[] = {
    ZY_LABEL("off", "Off"), ZY_LABEL("simple", "Simple"), ZY_LABEL("advanced", "Advanced"),
};
const Label kImageSizeLabels[] = {
    ZY_LABEL("full", "Full"), ZY_LABEL("none", "No image"), ZY_LABEL("cif", "CIF (352x288)"),
    ZY_LABEL("smallest", "Smallest"),
};
const Label kPhaseLabels[] = {ZY_LABEL("inPhase", "In phase"), ZY_LABEL("outOfPhase", "Out of phase")};
const Label kMountingLabels[] = {ZY_LABEL("gantry", "Gantry"), ZY_LABEL("lateral", "Lateral")};

// Codes are matched exactly; several codes may share one name.
const Label kContexts[] = {
    ZY_LABEL("ARMY", "French Army"),
    ZY_LABEL("GAR", "France garage"),
    ZY_LABEL("F_TMP", "France temporary plate"),
    ZY_LABEL("D_TMP", "Germany temporary plate"),
    ZY_LABEL("F_AGR", "French agricole"),
    ZY_LABEL("MC_REAR", "Monaco rear plates"),
    ZY_LABEL("EU", "Europe"),
    ZY_LABEL("AS", "Asia"),
    ZY_LABEL("AF", "Africa"),
    ZY_LABEL("AM_N", "North America"),
    ZY_LABEL("AM_C", "Central America"),
    ZY_LABEL("AM_S", "South America"),
    ZY_LABEL("ME", "Middle East"),
    ZY_LABEL("A", "Austria"),
    ZY_LABEL("LV", "Latvia"),
    ZY_LABEL("F", "France"),
    ZY_LABEL("FR", "France"),
    ZY_LABEL("CORSE", "Corsica"),
    ZY_LABEL("F/Corse", "Corsica"),
    ZY_LABEL("D", "Germany"),
    ZY_LABEL("DZ", "Algeria"),
    ZY_LABEL("ZA", "South Africa"),
    ZY_LABEL("IRL", "Ireland"),
    ZY_LABEL("H", "Hungary"),
    ZY_LABEL("HR", "Croatia"),
    ZY_LABEL("I", "Italy"),
    ZY_LABEL("E", "Spain"),
    ZY_LABEL("CH", "Switzerland"),
    ZY_LABEL("PL", "Poland"),
    ZY_LABEL("GB", "United Kingdom"),
    ZY_LABEL("DK", "Denmark"),
    ZY_LABEL("SK", "Slovakia"),
    ZY_LABEL("P", "Portugal"),
    ZY_LABEL("MEX", "Mexico"),
    ZY_LABEL("B", "Belgium"),
    ZY_LABEL("N", "Norway"),
    ZY_LABEL("NL", "Netherlands"),
    ZY_LABEL("L", "Luxembourg"),
    ZY_LABEL("CDN", "Canada"),
    ZY_LABEL("MC", "Monaco"),
    ZY_LABEL("BR", "Brazil"),
    ZY_LABEL("CZ", "Czech Republic"),
    ZY_LABEL("MAL", "Malaysia"),
    ZY_LABEL("RO", "Romania"),
    ZY_LABEL("S", "Sweden"),
    ZY_LABEL("BG", "Bulgaria"),
    ZY_LABEL("SLO", "Slovenia"),
    ZY_LABEL("RUS", "Russia"),
    ZY_LABEL("BY", "Belorussia"),
    ZY_LABEL("RCH", "Chile"),
    ZY_LABEL("IL", "Israel"),
    ZY_LABEL("AL", "Albania"),
    ZY_LABEL("TR", "Turkey"),
    ZY_LABEL("LT", "Lithuania"),
    ZY_LABEL("BIH", "Bosnia Herzegovina"),
    ZY_LABEL("UA", "Ukraine"),
    ZY_LABEL("CO", "Colombia"),
    ZY_LABEL("KZ", "Kazakhstan"),
    ZY_LABEL("PR", "Puerto Rico"),
    ZY_LABEL("PR_FRONT", "Puerto Rico - Front plates"),
    ZY_LABEL("Q", "Qatar"),
    ZY_LABEL("RA", "Argentina"),
    ZY_LABEL("ROU", "Uruguay"),
    ZY_LABEL("UAE", "United Arab Emirates"),
    ZY_LABEL("FIN", "Finland"),
    ZY_LABEL("MA", "Morocco"),
    ZY_LABEL("KSA", "Saudi Arabia"),
    ZY_LABEL("NC", "New Caledonia"),
    ZY_LABEL("BM", "Bermuda"),
    ZY_LABEL("AUS", "Australia"),
    ZY_LABEL("USA", "USA"),
    ZY_LABEL("GE", "Georgia"),
    ZY_LABEL("AND", "Andorra"),
    ZY_LABEL("GH", "Ghana"),
    ZY_LABEL("GR", "Greece"),
    ZY_LABEL("AM", "Armenia"),
    ZY_LABEL("WG", "Grenada (Windward Islands)"),
    ZY_LABEL("GCA", "Guatemala"),
    ZY_LABEL("GUY", "Guyana"),
    ZY_LABEL("AZ", "Azerbaijan"),
    ZY_LABEL("RH", "Haiti"),
    ZY_LABEL("BS", "Bahamas"),
    ZY_LABEL("V", "Holy See"),
    ZY_LABEL("BRN", "Bahrain"),
    ZY_LABEL("BD", "Bangladesh"),
    ZY_LABEL("IS", "Iceland"),
    ZY_LABEL("BDS", "Barbados"),
    ZY_LABEL("IND", "India"),
    ZY_LABEL("RI", "Indonesia"),
    ZY_LABEL("IR", "Iran"),
    ZY_LABEL("BH", "Belize"),
    ZY_LABEL("DY", "Benin"),
    ZY_LABEL("BW", "Botswana"),
    ZY_LABEL("JA", "Jamaica"),
    ZY_LABEL("J", "Japan"),
    ZY_LABEL("BRU", "Brunei Darussalam"),
    ZY_LABEL("HKJ", "Jordan"),
    ZY_LABEL("EAK", "Kenya"),
    ZY_LABEL("KWT", "Kuwait"),
    ZY_LABEL("RCA", "Central African Republic"),
    ZY_LABEL("KS", "Kyrgyzstan"),
    ZY_LABEL("LAO", "Lao People's Democratic Republic"),
    ZY_LABEL("RC", "China"),
    ZY_LABEL("RCB", "Congo"),
    ZY_LABEL("RL", "Lebanon"),
    ZY_LABEL("CR", "Costa Rica"),
    ZY_LABEL("LS", "Lesotho"),
    ZY_LABEL("CI", "Cote d'Ivoire"),
    ZY_LABEL("CU", "Cuba"),
    ZY_LABEL("CY", "Cyprus"),
    ZY_LABEL("RM", "Madagascar"),
    ZY_LABEL("MW", "Malawi"),
    ZY_LABEL("ZRE", "Democratic Republic of the Congo"),
    ZY_LABEL("RMM", "Mali"),
    ZY_LABEL("FO", "Faroe Islands"),
    ZY_LABEL("M", "Malta"),
    ZY_LABEL("DOM", "Dominican Republic"),
    ZY_LABEL("MS", "Mauritius"),
    ZY_LABEL("EC", "Ecuador"),
    ZY_LABEL("ET", "Egypt"),
    ZY_LABEL("MD", "Moldova"),
    ZY_LABEL("EST", "Estonia"),
    ZY_LABEL("FJI", "Fiji"),
    ZY_LABEL("MGL", "Mongolia"),
    ZY_LABEL("MNE", "Montenegro"),
    ZY_LABEL("WAG", "Gambia"),
    ZY_LABEL("BUR", "Myanmar"),
    ZY_LABEL("NAM", "Namibia"),
    ZY_LABEL("CL", "Sri Lanka"),
    ZY_LABEL("SME", "Suriname"),
    ZY_LABEL("NA", "Netherlands Antilles"),
    ZY_LABEL("SD", "Swaziland"),
    ZY_LABEL("NZ", "New Zealand"),
    ZY_LABEL("NIC", "Nicaragua"),
    ZY_LABEL("RN", "Niger"),
    ZY_LABEL("SYR", "Syrian Arab Republic"),
    ZY_LABEL("WAN", "Nigeria"),
    ZY_LABEL("TJ", "Tajikistan"),
    ZY_LABEL("T", "Thailand"),
    ZY_LABEL("PK", "Pakistan"),
    ZY_LABEL("MK", "The former Yugoslav Republic of Macedonia"),
    ZY_LABEL("PNG", "Papua New Guinea"),
    ZY_LABEL("TG", "Togo"),
    ZY_LABEL("PY", "Paraguay"),
    ZY_LABEL("TT", "Trinidad and Tobago"),
    ZY_LABEL("PE", "Peru"),
    ZY_LABEL("TN", "Tunisia"),
    ZY_LABEL("RP", "Philippines"),
    ZY_LABEL("TM", "Turkmenistan"),
    ZY_LABEL("EAU", "Uganda"),
    ZY_LABEL("ROK", "Republic of Korea"),
    ZY_LABEL("RWA", "Rwanda"),
    ZY_LABEL("GBA", "Alderney"),
    ZY_LABEL("WL", "Saint Lucia (Windward Islands)"),
    ZY_LABEL("GBG", "Guernsey"),
    ZY_LABEL("WV", "Saint Vincent and the Grenadines (Windward Islands)"),
    ZY_LABEL("WS", "Samoa"),
    ZY_LABEL("GBM", "Isle of Man"),
    ZY_LABEL("RSM", "San Marino"),
    ZY_LABEL("GBJ", "Jersey"),
    ZY_LABEL("SN", "Senegal"),
    ZY_LABEL("SRB", "Serbia"),
    ZY_LABEL("EAT", "Tanganyika"),
    ZY_LABEL("SY", "Seychelles"),
    ZY_LABEL("EAZ", "Zanzibar"),
    ZY_LABEL("WAL", "Sierra Leone"),
    ZY_LABEL("SGP", "Singapore"),
    ZY_LABEL("UZ", "Uzbekistan"),
    ZY_LABEL("YV", "Venezuela"),
    ZY_LABEL("RNR", "Zambia"),
    ZY_LABEL("ZW", "Zimbabwe"),
    ZY_LABEL("AFG", "Afghanistan"),
    ZY_LABEL("BOL", "Bolivia"),
    ZY_LABEL("BF", "Burkina Faso"),
    ZY_LABEL("RU", "Burundi"),
    ZY_LABEL("CAM", "Cameroon"),
    ZY_LABEL("TD", "Chad"),
    ZY_LABEL("WD", "Dominica (Windward Islands)"),
    ZY_LABEL("ES", "El Salvador"),
    ZY_LABEL("ER", "Eritrea"),
    ZY_LABEL("ETH", "Ethiopia"),
    ZY_LABEL("G", "Gabon"),
    ZY_LABEL("RG", "Guinea"),
    ZY_LABEL("IRQ", "Iraq"),
    ZY_LABEL("LAR", "Libyan Arab Jamahiriya"),
    ZY_LABEL("FL", "Liechtenstein"),
    ZY_LABEL("RIM", "Mauritania"),
    ZY_LABEL("MOC", "Mozambique"),
    ZY_LABEL("NAU", "Nauru"),
    ZY_LABEL("NEP", "Nepal"),
    ZY_LABEL("PA", "Panama"),
    ZY_LABEL("SO", "Somalia"),
    ZY_LABEL("SUD", "Sudan"),
    ZY_LABEL("VN", "Viet Nam"),
    ZY_LABEL("BVI", "Virgin Islands"),
    ZY_LABEL("YAR", "Yemen"),
    ZY_LABEL("K", "Cambodia"),
    ZY_LABEL("HN", "Honduras"),
    ZY_LABEL("CDN/AB", "Canada - Alberta"),
    ZY_LABEL("CDN/BC", "Canada - British Columbia"),
    ZY_LABEL("CDN/NB", "Canada - New Brunswick"),
    ZY_LABEL("CDN/MB", "Canada - Manitoba"),
    ZY_LABEL("CDN/NL", "Canada - Newfoundland and Labrador"),
    ZY_LABEL("CDN/NS", "Canada - Nova Scotia"),
    ZY_LABEL("CDN/ON", "Canada - Ontario"),
    ZY_LABEL("CDN/PE", "Canada - Prince Edward Island"),
    ZY_LABEL("CDN/QC", "Canada - Québec"),
    ZY_LABEL("CDN/SK", "Canada - Saskatchewan"),
    ZY_LABEL("CDN/NT", "Canada - Northwest Territories"),
    ZY_LABEL("CDN/NU", "Canada - Nunavut"),
    ZY_LABEL("CDN/YT", "Canada - Yukon Territory"),
    ZY_LABEL("AUS_FI", "Australia - Federal interstate"),
    ZY_LABEL("AUS/FI", "Australia - Federal interstate"),
    ZY_LABEL("QLD_AUS", "Australia - Queensland"),
    ZY_LABEL("AUS/QLD", "Australia - Queensland"),
    ZY_LABEL("NSW_AUS", "Australia - New South Wales"),
    ZY_LABEL("AUS/NSW", "Australia - New South Wales"),
    ZY_LABEL("VIC_AUS", "Australia - Victoria"),
    ZY_LABEL("AUS/VIC", "Australia - Victoria"),
    ZY_LABEL("SA_AUS", "Australia - South Australia"),
    ZY_LABEL("AUS/SA", "Australia - South Australia"),
    ZY_LABEL("WA_AUS", "Australia - Western Australia"),
    ZY_LABEL("AUS/WA", "Australia - Western Australia"),
    ZY_LABEL("TAS_AUS", "Australia - Tasmanie"),
    ZY_LABEL("AUS/TAS", "Australia - Tasmanie"),
    ZY_LABEL("ACT_AUS", "Australia - Australian Capital Territory"),
    ZY_LABEL("AUS/ACT", "Australia - Australian Capital Territory"),
    ZY_LABEL("NT_AUS", "Australia - Nothern Territory"),
    ZY_LABEL("AUS/NT", "Australia - Nothern Territory"),
    ZY_LABEL("USA/AK", "USA - Alaska"),
    ZY_LABEL("USA/AL", "USA - Alabama"),
    ZY_LABEL("USA/AZ", "USA - Arizona"),
    ZY_LABEL("USA/AR", "USA - Arkansas"),
    ZY_LABEL("USA/CA", "USA - California"),
    ZY_LABEL("USA/CO", "USA - Colorado"),
    ZY_LABEL("USA/CT", "USA - Connecticut"),
    ZY_LABEL("USA/DC", "USA - Washington DC"),
    ZY_LABEL("USA/DE", "USA - Delaware"),
    ZY_LABEL("USA/FL", "USA - Florida"),
    ZY_LABEL("USA/GA", "USA - Georgia"),
    ZY_LABEL("USA/HI", "USA - Hawaii"),
    ZY_LABEL("USA/ID", "USA - Idaho"),
    ZY_LABEL("USA/IL", "USA - Illinois"),
    ZY_LABEL("USA/IN", "USA - Indiana"),
    ZY_LABEL("USA/IA", "USA - Iowa"),
    ZY_LABEL("USA/KS", "USA - Kansas"),
    ZY_LABEL("USA/KY", "USA - Kentucky"),
    ZY_LABEL("USA/LA", "USA - Louisiana"),
    ZY_LABEL("USA/ME", "USA - Maine"),
    ZY_LABEL("USA/MD", "USA - Maryland"),
    ZY_LABEL("USA/MA", "USA - Massachusetts"),
    ZY_LABEL("USA/MI", "USA - Michigan"),
    ZY_LABEL("USA/MN", "USA - Minnesota"),
    ZY_LABEL("USA/MS", "USA - Mississippi"),
    ZY_LABEL("USA/MO", "USA - Missouri"),
    ZY_LABEL("USA/MT", "USA - Montana"),
    ZY_LABEL("USA/NE", "USA - Nebraska"),
    ZY_LABEL("USA/NV", "USA - Nevada"),
    ZY_LABEL("USA/NH", "USA - New Hampshire"),
    ZY_LABEL("USA/NJ", "USA - New Jersey"),
    ZY_LABEL("USA/NM", "USA - New Mexico"),
    ZY_LABEL("USA/NY", "USA - New York"),
    ZY_LABEL("USA/NC", "USA - North Carolina"),
    ZY_LABEL("USA/ND", "USA - North Dakota"),
    ZY_LABEL("USA/OH", "USA - Ohio"),
    ZY_LABEL("USA/OK", "USA - Oklahoma"),
    ZY_LABEL("USA/OR", "USA - Oregon"),
    ZY_LABEL("USA/PA", "USA - Pennsylvania"),
    ZY_LABEL("USA/RI", "USA - Rhode Island"),
    ZY_LABEL("USA/SC", "USA - South Carolina"),
    ZY_LABEL("USA/SD", "USA - South Dakota"),
    ZY_LABEL("USA/TN", "USA - Tennessee"),
    ZY_LABEL("USA/TX", "USA - Texas"),
    ZY_LABEL("USA/UT", "USA - Utah"),
    ZY_LABEL("USA/VT", "USA - Vermont"),
    ZY_LABEL("USA/VA", "USA - Virginia"),
    ZY_LABEL("USA/WA", "USA - Washington"),
    ZY_LABEL("USA/WV", "USA - West Virginia"),
    ZY_LABEL("USA/WI", "USA - Wisconsin"),
    ZY_LABEL("USA/WY", "USA - Wyoming"),
};

#undef ZY_LABEL

template <std::size_t N>
QString lookUp(const Label (&labels)[N], const char *token)
{
    const QString text = QString::fromUtf8(token);
    for (const Label &label : labels) {
        if (text.compare(QLatin1String(label.token), Qt::CaseInsensitive) == 0)
            return ZyLumatrekTr::tr(label.label);
    }
    return text;
}

const QHash<QString, const char *> &contextTable()
{
    static const QHash<QString, const char *> table = [] {
        QHash<QString, const char *> codes;
        for (const Label &context : kContexts)
            codes.insert(QString::fromUtf8(context.token), context.label);
        return codes;
    }();
    return table;
}

} // namespace

QString ZyLumatrekTr::valueLabel(const char *token) { return lookUp(kValueLabels, token); }
QString ZyLumatrekTr::sideLabel(const char *token) { return lookUp(kSideLabels, token); }
QString ZyLumatrekTr::lightingLabel(const char *token) { return lookUp(kLightingLabels, token); }
QString ZyLumatrekTr::applicationLabel(const char *token) { return lookUp(kApplicationLabels, token); }
QString ZyLumatrekTr::simpleAdvancedLabel(const char *token) { return lookUp(kSimpleAdvancedLabels, token); }
QString ZyLumatrekTr::imageSizeLabel(const char *token) { return lookUp(kImageSizeLabels, token); }
QString ZyLumatrekTr::phaseLabel(const char *token) { return lookUp(kPhaseLabels, token); }
QString ZyLumatrekTr::mountingLabel(const char *token) { return lookUp(kMountingLabels, token); }

QString ZyLumatrekTr::sensorTypeLabel(int type)
{
    if (type == 0)
        return tr("ANPR sensor");
    if (type == 1)
        return tr("Context sensor");
    return tr("Custom");
}

QString ZyLumatrekTr::onOffLabel(int value)
{
    return value ? tr("On") : tr("Off");
}

QString ZyLumatrekTr::yesNoLabel(int value)
{
    return yesNoLabel(value != 0);
}

QString ZyLumatrekTr::yesNoLabel(bool value)
{
    return value ? tr("Yes") : tr("No");
}

QString ZyLumatrekTr::temperatureLabel(int degrees)
{
    return QString::fromUtf8("%1 °C").arg(degrees);
}

QString ZyLumatrekTr::contextName(const QString &code)
{
    const char *name = contextTable().value(code, nullptr);
    if (name)
        return tr(name);
    const QStringList parts = code.split('/', Qt::KeepEmptyParts);
    if (parts.size() == 2 && parts[0] == QLatin1String("CDN"))
        return tr("Canada") + " - " + parts[1];
    if (parts.size() == 2 && parts[0] == QLatin1String("USA"))
        return tr("USA") + " - " + parts[1];
    return code;
}

QStringList ZyLumatrekTr::foreignContexts(const QString &countryCode)
{
    if (countryCode == QLatin1String("F"))
        return {"CH", "L", "GB", "B"};
    if (countryCode == QLatin1String("B"))
        return {"L", "GB"};
    if (countryCode == QLatin1String("GB"))
        return {"IRL", "NL"};
    if (countryCode == QLatin1String("D"))
        return {"CH", "DK", "PL", "B", "L"};
    return {};
}
