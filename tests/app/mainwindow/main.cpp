// Runs the main-window tests inside a QApplication whose arguments the tests can change, with
// the sensor library started as the program does and settings and application data in a
// temporary folder. Started as "--program <case> [arguments]" it is instead the child process of
// the start-up tests: it runs the whole program, answering the password dialog or closing the
// window as the case asks.
#include "MainWindowTestSupport.h"
#include "QtTestMain.h"

#include "AppStartup.h"
#include "MainWindowInterface.h"
#include "PXR.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The arguments the application object was given; Qt reads them anew on every arguments() call.
int g_argc = 1;
char *g_argv[8] = {};
std::vector<std::string> g_storage(8);

void useSettingsFolder(const QString &folder)
{
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, folder + QStringLiteral("/user"));
        QSettings::setPath(format, QSettings::SystemScope, folder + QStringLiteral("/system"));
    }
}

void closeWindowOnceShown()
{
    QTimer::singleShot(0, [] {
        if (auto *window = dynamic_cast<QWidget *>(MainWindowInterface::instance())) {
            std::printf("window shown: %d\n", int(window->isVisible()));
            window->close();
        }
    });
}

// The child process of the start-up tests: argv = program, "--program", case, arguments...
int runProgramCase(int argc, char **argv)
{
    useSettingsFolder(qEnvironmentVariable("BZK_TEST_SETTINGS"));
    const std::string which = argv[2];
    if (which == "refuse-password") {
        ZyModalRunner::setHandler([](QDialog *dialog) {
            std::printf("password asked: %s\n", dialog->metaObject()->className());
            std::fflush(stdout);
            return int(QDialog::Rejected);
        });
    } else {
        // The operator cancels the wait for the sensor named on the command line.
        ZyModalRunner::setHandler([](QDialog *dialog) {
            std::printf("wait cancelled: %s\n", dialog->metaObject()->className());
            return int(QDialog::Rejected);
        });
        qAddPreRoutine(closeWindowOnceShown);
    }
    // The program sees its own name and the arguments after the case.
    argv[2] = argv[0];
    int programArgc = argc - 2;
    const int result = AppStartup::run(programArgc, argv + 2);
    std::fflush(stdout);
    return result;
}

} // namespace

void setProgramArguments(const QStringList &arguments)
{
    g_argc = 1;
    for (const QString &argument : arguments) {
        g_storage[g_argc] = argument.toStdString();
        g_argv[g_argc] = g_storage[g_argc].data();
        ++g_argc;
    }
    g_argv[g_argc] = nullptr;
}

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--program") == 0)
        return runProgramCase(argc, argv);

    QTemporaryDir scratch;
    prepareQtTests(&argc, argv, scratch);
    qputenv("APPDATA", scratch.filePath("appdata").toUtf8());
    g_storage[0] = argv[0];
    g_argv[0] = g_storage[0].data();
    int result = 1;
    {
        QApplication app(g_argc, g_argv);
        nameQtTestApplication();
        if (PXR_initLibrary() != 1)
            return 1;
        result = RUN_ALL_TESTS();
        Model::deleteInstance();
        PXR_releaseLibrary();
    }
    return result;
}
