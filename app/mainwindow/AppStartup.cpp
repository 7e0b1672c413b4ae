// The program from start to end: libraries, names, translations, the start-up password, the
// model and the main window, the event loop, and the tear-down in its fixed order.
#include "AppStartup.h"

#include "AppPaths.h"
#include "AppSettings.h"
#include "DialogCheckPassword.h"
#include "Model.h"
#include "OBK.h"
#include "PXR.h"
#include "SA_Core.h"
#include "ZyLanguage.h"
#include "ZyModalRunner.h"

#include <QApplication>

#include <memory>

int AppStartup::run(int &argc, char **argv)
{
    SA_Init(0, 0, -1);
    PXR_initLibrary();
    nameApplication();
    choosePlatform(argc, argv);
    auto application = std::make_unique<QApplication>(argc, argv);
    installTranslations();
    if (!passwordAccepted())
        return 1;

    Model::instance();
    auto window = std::make_unique<OBK>();
    window->show();
    const int result = QApplication::exec();

    Model::deleteInstance();
    PXR_releaseLibrary();
    // The window's discovery object holds the runtime's last start, so the runtime stops with it.
    SA_Release();
    window.reset();
    application.reset();
    return result;
}

void AppStartup::choosePlatform(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

void AppStartup::nameApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Brondmere"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("brondmere.com"));
    QCoreApplication::setApplicationName(QStringLiteral("BZK7"));
}

void AppStartup::installTranslations()
{
    const QString folder = AppPaths::programFolder();
    for (const char *file : {"/bzk6_%1.qm", "/qtbase_%1.qm", "/divers_%1.qm", "/zylumatrektr_%1.qm",
                             "/choosecontexts_%1.qm", "/pxrqt_%1.qm"})
        ZyLanguage::installTranslator(folder + QLatin1String(file));
}

bool AppStartup::passwordAccepted()
{
    AppSettings settings;
    if (!settings.hasPassword())
        return true;
    DialogCheckPassword dialog;
    return ZyModalRunner::exec(&dialog) == QDialog::Accepted;
}
