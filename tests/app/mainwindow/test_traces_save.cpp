// The sensor's traces saved into one text file: both forms of the current traces, the old
// files from the oldest, the firmware-update log, byte for byte, and every refusal on the way.
#include "FileActionsTest.h"

namespace {

using fybsim::Element;
using fybsim::Reply;

const std::string kExtraLog = "/data/var/log/firmware-update.log";

Reply section(const char *child, const std::string &content)
{
    return Reply::message(Element("traces").add(Element(child).withContent(content)));
}

class TracesSaveTest : public FileActionsTest
{
protected:
    // Saves the traces into the path with the sensor holding these files.
    void save(const fybsim::TraceFiles &traces, const QString &target)
    {
        server.setResponder(fybsim::traceFilesResponder(traces));
        mark = server.mark();
        choose(target);
        trigger("actionSaveSensorTraces");
    }
    QStringList requests() const { return requestsSince(mark); }

    fybsim::FybSensor::Mark mark;
};

TEST_F(TracesSaveTest, ExecutionsOldFilesAndTheFirmwareLogAreWrittenByteForByte)
{
    fybsim::TraceFiles traces;
    traces.current = Reply::message(Element("traces")
                                        .add(Element("previousExecution").withContent("before\r\nreboot"))
                                        .add(Element("currentExecution_old").withContent("early\n"))
                                        .add(Element("currentExecution_current").withContent(std::string("now\x00\xff", 5))));
    traces.files["old5"] = Reply::message(Element("traces"));
    traces.files["old4"] = section("previousExecution", "four");
    traces.files["old3"] = section("previousExecution", "three");
    traces.files["old2"] = section("previousExecution", "two");
    traces.files["old1"] = section("previousExecution", "one");
    traces.files[kExtraLog] = section("extraTraces", "flashed");
    save(traces, path("traces.txt"));

    const std::string expected = "=== PREVIOUS EXECUTION ===\n\nbefore\r\nreboot\n\n"
                                 "=== CURRENT EXECUTION ===\n\nearly\n"
                                 + std::string("now\x00\xff", 5)
                                 + "=== PREVIOUS EXECUTION old4 ===\n\nfour\n\n"
                                   "=== PREVIOUS EXECUTION old3 ===\n\nthree\n\n"
                                   "=== PREVIOUS EXECUTION old2 ===\n\ntwo\n\n"
                                   "=== PREVIOUS EXECUTION old1 ===\n\none\n\n"
                                   "=== EXTRA TRACES /data/var/log/firmware-update.log ===\n\nflashed\n\n";
    EXPECT_EQ(readAll(path("traces.txt")).toStdString(), expected);
    EXPECT_EQ(requests(), QStringList({"getTraces", "getTraces old5", "getTraces old4", "getTraces old3",
                                       "getTraces old2", "getTraces old1", "getTraces " + QString::fromStdString(kExtraLog)}));
    EXPECT_EQ(boxes(), QList<Asked>());
}

TEST_F(TracesSaveTest, TraceLinesEndInCrLfAndARefusedOldFileEndsTheOldFilesButNotTheFirmwareLog)
{
    fybsim::TraceFiles traces;
    traces.current = Reply::message(Element("traces")
                                        .add(Element("trace").set("severity", "3").set("text", "disk \xc3\xa9tat"))
                                        .add(Element("trace").set("text", "no severity"))
                                        .add(Element("trace").set("severity", "7")));
    traces.files[kExtraLog] = section("extraTraces", "x");
    save(traces, path("traces.txt"));

    EXPECT_EQ(readAll(path("traces.txt")).toStdString(),
              "[3] disk \xc3\xa9tat\r\n[5] no severity\r\n[7] \r\n"
              "=== EXTRA TRACES /data/var/log/firmware-update.log ===\n\nx\n\n");
    EXPECT_EQ(requests(), QStringList({"getTraces", "getTraces old5", "getTraces " + QString::fromStdString(kExtraLog)}));
    EXPECT_EQ(boxes(), QList<Asked>({{"box", "Error", "Unable to get old Traces", "No such file : old5"}}));
}

TEST_F(TracesSaveTest, AnAnswerOfNeitherFormIsReportedAndTheDownloadGoesOn)
{
    fybsim::TraceFiles traces;
    traces.current = Reply::message(Element("traces").add(Element("other")));
    traces.files[kExtraLog] = Reply::failed("Not found");
    save(traces, path("traces.txt"));

    EXPECT_TRUE(QFile::exists(path("traces.txt")));
    EXPECT_EQ(readAll(path("traces.txt")), QByteArray());
    EXPECT_EQ(boxes(), QList<Asked>({{"box", "Error", "Unknown PXRMsg trace format", ""},
                                     {"box", "Error", "Unable to get old Traces", "No such file : old5"},
                                     {"box", "Error", "Unable to get extra file Traces", "Not found"}}));
    EXPECT_EQ(requests(), QStringList({"getTraces", "getTraces old5", "getTraces " + QString::fromStdString(kExtraLog)}));
}

TEST_F(TracesSaveTest, WithoutCurrentTracesNoFileIsMadeAndNothingMoreAsked)
{
    for (const bool answered : {true, false}) {
        SCOPED_TRACE(answered ? "refused" : "unanswered");
        asked.clear();
        fybsim::TraceFiles traces;
        traces.current = answered ? Reply::failed("No traces yet") : Reply::close();
        save(traces, path("traces.txt"));
        EXPECT_EQ(boxes(), QList<Asked>({{"box", "Error", "Unable to get Traces", answered ? "No traces yet" : "NULL answer"}}));
        EXPECT_EQ(requests(), QStringList({"getTraces"}));
        EXPECT_FALSE(QFile::exists(path("traces.txt")));
    }
}

TEST_F(TracesSaveTest, AFileThatCannotBeMadeOrKeptIsReported)
{
    const QString error = "Error while saving the traces of this sensor : unable to create file";
    fybsim::TraceFiles traces;
    traces.current = section("currentExecution_current", "now");
    save(traces, path("missing/traces.txt"));
    EXPECT_EQ(boxes(), QList<Asked>({{"box", "BZK", error, ""}}));
    EXPECT_EQ(requests(), QStringList({"getTraces"}));

    // The folder goes away while the old files are fetched: the traces cannot be kept.
    asked.clear();
    ASSERT_TRUE(QDir().mkpath(path("vanishing")));
    const QString vanishing = path("vanishing");
    server.setResponder([inner = fybsim::traceFilesResponder(traces), vanishing](const fybsim::WireMessage &request) {
        const std::string *file = request.root ? request.root->attribute("file") : nullptr;
        if (file != nullptr && *file == "old5")
            QDir(vanishing).removeRecursively();
        return inner(request);
    });
    choose(path("vanishing/traces.txt"));
    trigger("actionSaveSensorTraces");
    ASSERT_FALSE(boxes().isEmpty());
    EXPECT_EQ(boxes().last(), (Asked{"box", "BZK", error, ""}));
    EXPECT_FALSE(QFile::exists(path("vanishing/traces.txt")));
}

} // namespace
