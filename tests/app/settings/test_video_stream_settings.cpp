// The video stream dialog: what it sends for each configuration and change, the bit rate kept
// exactly until changed, the frame rate the sensor lacks kept off, and the formats a legacy
// sensor reading plates cannot stream.
#include "SettingsTestSupport.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace settingstest;
using fybsim::Element;

const Attributes kStream = {{"enabled", "1"}, {"codec", "h264"},   {"fps", "25"},
                            {"size", "1920x1080"}, {"quality", "80"}, {"bitrate", "4000000"}};

Element stream(Attributes changes = {}, std::initializer_list<const char *> removed = {})
{
    Element made = element("stream", kStream);
    for (const auto &[key, value] : changes)
        made.set(key, value);
    for (const char *name : removed)
        std::erase_if(made.attributes, [name](const auto &attribute) { return attribute.first == name; });
    return made;
}

Element requestOf(const char *cameraId, const Element &feature)
{
    return Element("setConfig").add(Element("config").add(Element("cameras").add(camera(cameraId, {feature}))));
}

QStringList items(WidgetComboDoc *combo)
{
    QStringList values;
    auto *inner = combo->findChild<QComboBox *>();
    for (int i = 0; i < inner->count(); ++i)
        values << inner->itemData(i).toString();
    return values;
}

struct StreamCase
{
    const char *name;
    Element configured;
    std::function<void(QDialog &)> edit;
    Element sent;
};

TEST_F(SettingsTest, VideoStreamSendsWhatWasReadOrChanged)
{
    const StreamCase cases[] = {
        {"untouched", stream(), nullptr, stream()},
        {"another codec and size",
         stream(),
         [](QDialog &d) {
             EXPECT_TRUE(choose(child<WidgetComboDoc>(d, "cboCodec"), "mjpeg"));
             EXPECT_TRUE(choose(child<WidgetComboDoc>(d, "cboSize"), "704x576"));
         },
         stream({{"codec", "mjpeg"}, {"size", "704x576"}})},
        // The combos sit in the switch; quality and bit rate are kept by the sensor either way.
        {"switched off",
         stream(),
         [](QDialog &d) { child<QGroupBox>(d, "groupEnabled")->setChecked(false); },
         element("stream", {{"enabled", "0"}, {"quality", "80"}, {"bitrate", "4000000"}})},
        {"switched on", stream({{"enabled", "0"}}),
         [](QDialog &d) { child<QGroupBox>(d, "groupEnabled")->setChecked(true); }, stream()},
        {"bit rate below a thousand kept", stream({{"bitrate", "4000500"}}),
         [](QDialog &d) { EXPECT_EQ(child<QSpinBox>(d, "spinBitrate")->value(), 4000); },
         stream({{"bitrate", "4000500"}})},
        {"bit rate changed", stream({{"bitrate", "4000500"}}),
         [](QDialog &d) { child<QSpinBox>(d, "spinBitrate")->setValue(2000); }, stream({{"bitrate", "2000000"}})},
        {"values outside the ranges kept", stream({{"quality", "150"}, {"bitrate", "9000000"}}),
         [](QDialog &d) {
             EXPECT_EQ(child<QSpinBox>(d, "spinQuality")->value(), 100);
             EXPECT_EQ(child<QSpinBox>(d, "spinBitrate")->value(), 8000);
         },
         stream({{"quality", "150"}, {"bitrate", "9000000"}})},
        {"no quality", stream({}, {"quality"}),
         [](QDialog &d) {
             EXPECT_FALSE(shown(child<QSpinBox>(d, "spinQuality")));
             EXPECT_FALSE(shown(child<QLabel>(d, "labelQuality")));
         },
         stream({}, {"quality"})},
        {"no bit rate", stream({}, {"bitrate"}),
         [](QDialog &d) {
             EXPECT_FALSE(shown(child<QSpinBox>(d, "spinBitrate")));
             EXPECT_FALSE(shown(child<QLabel>(d, "labelBitrate")));
         },
         stream({}, {"bitrate"})},
        {"no switch", stream({}, {"enabled"}),
         [](QDialog &d) {
             auto *group = child<QGroupBox>(d, "groupEnabled");
             EXPECT_FALSE(group->isCheckable());
             EXPECT_EQ(group->title(), "Video stream");
             EXPECT_TRUE(usable(child<WidgetComboDoc>(d, "cboCodec")));
         },
         stream({}, {"enabled"})},
        // A size change does not bring back a rate the sensor does not have.
        {"no rate, size changed", stream({}, {"fps"}),
         [](QDialog &d) {
             EXPECT_TRUE(choose(child<WidgetComboDoc>(d, "cboSize"), "352x288"));
             EXPECT_FALSE(usable(child<WidgetComboDoc>(d, "cboFPS")));
         },
         stream({{"size", "352x288"}}, {"fps"})},
        {"a codec the schema lacks", stream({{"codec", "vp9"}}), nullptr, stream({}, {"codec"})},
    };
    for (const StreamCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("0", {}), camera("1", {c.configured})})));
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk("1:stream", [&](QDialog &dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Video Stream");
            if (c.edit)
                c.edit(dialog);
        });
        EXPECT_EQ(result, QDialog::Accepted);
        expectRequest(mark, requestOf("1", c.sent));
    }
}

// A legacy sensor has the trees handed to the model as its pump hands them; requests are tested
// against the current sensor.
class LegacyStreamTest : public SettingsTest
{
protected:
    void startLegacy(const Element &config, const Element &infos)
    {
        model()->clear();
        server.setHello(fybsim::FybSensor::legacyBytes());
        ASSERT_TRUE(sensor().connect("127.0.0.1", server.port(), QString(), false, false, false, {}, {}));
        ASSERT_TRUE(waitUntil([] { return sensor().detectedProtocol() == "KGV"; }));
        for (const Element &tree : {config, infos}) {
            PXRMsg *message = PXRMsgCreate();
            const std::string bytes = fybsim::wireOf(tree);
            ASSERT_EQ(PXRMsgImportFromBinaryArray(message, bytes.data(), uint32_t(bytes.size())), 1);
            emit sensor().signalMsgReceived(message);
        }
        ASSERT_TRUE(waitUntil([] { return model()->config() != nullptr && model()->infos() != nullptr; }));
        model()->parseInfos();
        QFile file(QStringLiteral(BZK_SIM_DATA_DIR "/settings-dialogs.xsd"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray schema = file.readAll();
        ASSERT_TRUE(model()->schemaDoc().load(schema.constData(), int(schema.size())));
    }
    void startAs(bool legacy, const Element &config, const Element &infos)
    {
        if (legacy) {
            startLegacy(config, infos);
            return;
        }
        server.setHello(fybsim::FybSensor::helloMessage());
        start(config, infos);
    }
};

struct OfferCase
{
    const char *name;
    bool legacy;
    std::vector<const char *> algorithms;
    bool restricted;
};

// Only a legacy sensor reading plates, panels or signatures on the camera loses the formats it
// cannot stream at once.
TEST_F(LegacyStreamTest, VideoStreamOffersWhatTheSensorCanStream)
{
    const OfferCase cases[] = {
        {"legacy reading plates", true, {"anpr"}, true},
        {"legacy reading panels", true, {"dgpr"}, true},
        {"legacy with signatures", true, {"signature"}, true},
        {"legacy without reading", true, {"counting"}, false},
        {"legacy, a name in other case", true, {"ANPR"}, false},
        {"current reading plates", false, {"anpr", "dgpr", "signature"}, false},
    };
    for (const OfferCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(
            startAs(c.legacy, configWithCameras({camera("0", {stream()})}), infosWithAlgorithms(c.algorithms)));
        ASSERT_EQ(sensor().detectedProtocol() == "KGV", c.legacy);
        const QStringList allCodecs{"h264", "mjpeg", "mpeg"};
        const QStringList allSizes{"1920x1080", "704x576", "720x288", "352x288"};
        open("0:stream", [&](QDialog &dialog) {
            const QStringList codecs = items(child<WidgetComboDoc>(dialog, "cboCodec"));
            const QStringList sizes = items(child<WidgetComboDoc>(dialog, "cboSize"));
            EXPECT_EQ(codecs, c.restricted ? QStringList({"h264", "mjpeg"}) : allCodecs);
            EXPECT_EQ(sizes, c.restricted ? QStringList({"1920x1080", "704x576", "352x288"}) : allSizes);
            dialog.reject();
        });
    }
}

struct RateCase
{
    const char *name;
    bool legacy;
    const char *configuredRate;
    std::vector<const char *> sizes;  // chosen in turn
    QStringList rates;                // offered at the end
    const char *chosenRate;           // at the end, empty for none
};

// On a legacy sensor the smallest size cannot run at 50 pictures a second; a rate no longer
// offered is unselected, and so not sent.
TEST_F(LegacyStreamTest, VideoStreamRatesFollowTheSize)
{
    const QStringList all{"5", "12", "25", "50"};
    const QStringList noFifty{"5", "12", "25"};
    const RateCase cases[] = {
        {"legacy, small size drops 50", true, "50", {"352x288"}, noFifty, ""},
        {"legacy, back to a larger size", true, "50", {"352x288", "704x576"}, all, ""},
        {"legacy, another rate stays", true, "25", {"352x288"}, noFifty, "25"},
        {"legacy, read at the small size", true, "25", {}, all, "25"},
        {"current, small size keeps 50", false, "50", {"352x288"}, all, "50"},
    };
    for (const RateCase &c : cases) {
        SCOPED_TRACE(c.name);
        // No algorithm, so every size is offered.
        ASSERT_NO_FATAL_FAILURE(startAs(c.legacy, configWithCameras({camera("0", {stream({{"fps", c.configuredRate}})})}),
                                        infosWithAlgorithms({})));
        open("0:stream", [&](QDialog &dialog) {
            auto *rates = child<WidgetComboDoc>(dialog, "cboFPS");
            for (const char *size : c.sizes)
                EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "cboSize"), size));
            EXPECT_EQ(items(rates), c.rates);
            EXPECT_EQ(rates->currentValue(), QByteArray(c.chosenRate));
            EXPECT_TRUE(usable(rates));
            dialog.reject();
        });
    }
}

// A rate left unselected is not sent at all, so the sensor keeps its own.
TEST_F(SettingsTest, VideoStreamSendsNoRateWhenNoneIsSelected)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("0", {stream({{"fps", "30"}})})})));
    const fybsim::FybSensor::Mark mark = server.mark();
    openAndOk("0:stream", [](QDialog &dialog) {
        EXPECT_TRUE(choose(child<WidgetComboDoc>(dialog, "cboSize"), "352x288"));
        EXPECT_EQ(child<WidgetComboDoc>(dialog, "cboFPS")->currentValue(), QByteArray());
    });
    expectRequest(mark, requestOf("0", stream({{"size", "352x288"}}, {"fps"})));
}

TEST_F(SettingsTest, VideoStreamWithoutItsElementLeavesNothingToSend)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("0", {}), camera("1", {stream()})})));
    for (const char *tag : {"0:stream", "7:stream"}) {
        SCOPED_TRACE(tag);
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = openAndOk(QString::fromLatin1(tag), [](QDialog &dialog) {
            EXPECT_TRUE(shown(child<QLabel>(dialog, "labelMissingSettings")));
            EXPECT_FALSE(okButton(dialog)->isEnabled());
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_TRUE(requestsSince(mark).empty());
    }
}

TEST_F(SettingsTest, VideoStreamRangesAndPicture)
{
    ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("1", {stream()})})));
    open("1:stream", [](QDialog &dialog) {
        auto *quality = child<QSpinBox>(dialog, "spinQuality");
        auto *bitrate = child<QSpinBox>(dialog, "spinBitrate");
        // The schema bounds the bit rate in bits per second; the quality it leaves to the form.
        EXPECT_EQ(std::make_pair(bitrate->minimum(), bitrate->maximum()), std::make_pair(64, 8000));
        EXPECT_EQ(std::make_pair(quality->minimum(), quality->maximum()), std::make_pair(0, 100));
        EXPECT_EQ(bitrate->suffix(), " Kb/s");
        EXPECT_EQ(quality->suffix(), " %");
        keepPicture(dialog, "settings-video-stream");
        dialog.reject();
    });
}

} // namespace
