// The base of the settings dialogs: documentation panel, lookups, binding and request.
#include "Dialog_Settings.h"

#include "AppSettings.h"
#include "ConfigRequest.h"
#include "DialogDoc.h"
#include "Model.h"
#include "ZyModalRunner.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QWhatsThis>

Dialog_Settings::Dialog_Settings(QWidget *parent) : QDialog(parent), model(Model::instance())
{
    // No title-bar help button here: F1 and a Help button bring the documentation back.
    auto *help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &Dialog_Settings::showDoc);
}

Dialog_Settings::~Dialog_Settings() = default;

int Dialog_Settings::exec()
{
    return ZyModalRunner::exec(this);
}

bool Dialog_Settings::openingAllowed()
{
    return true;
}

bool Dialog_Settings::prepareRun()
{
    if (!openingAllowed())
        return false;
    addHelpButton();
    if (AppSettings().showDialogDoc())
        showDoc();
    return true;
}

void Dialog_Settings::showDoc()
{
    const SchemaDoc &schema = model->schemaDoc();
    QString text = schema.elementDocWithChildren(docPath);
    for (const QStringList &path : extraDocPaths) {
        if (!text.isEmpty())
            text += "<br><br>";
        text += schema.elementDocWithChildren(path);
    }
    if (text.isEmpty())
        return;
    if (docPanel == nullptr) {
        docPanel = new DialogDoc(this);
        gluePanel();
    }
    docPanel->setText(text);
}

// At the dialog's right edge, as high as the dialog; the panel keeps its own width.
void Dialog_Settings::gluePanel()
{
    if (docPanel == nullptr)
        return;
    const QRect frame = frameGeometry();
    docPanel->move(frame.x() + frame.width(), geometry().y());
    docPanel->resize(docPanel->width(), height());
}

bool Dialog_Settings::event(QEvent *event)
{
    if (event->type() == QEvent::EnterWhatsThisMode) {
        QWhatsThis::leaveWhatsThisMode();
        showDoc();
        return true;
    }
    return QDialog::event(event);
}

void Dialog_Settings::moveEvent(QMoveEvent *event)
{
    gluePanel();
    QDialog::moveEvent(event);
}

void Dialog_Settings::resizeEvent(QResizeEvent *event)
{
    gluePanel();
    QDialog::resizeEvent(event);
}

void Dialog_Settings::addHelpButton()
{
    auto *box = findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    if (box == nullptr || box->button(QDialogButtonBox::Help) != nullptr)
        return;
    box->addButton(QDialogButtonBox::Help);
    connect(box, &QDialogButtonBox::helpRequested, this, &Dialog_Settings::showDoc);
}

void Dialog_Settings::showElement(PXRMsgElement *element)
{
    addHelpButton();
    binding.load(element);
    if (element != nullptr)
        return;
    binding.disableAll();
    if (auto *box = findChild<QDialogButtonBox *>(QStringLiteral("buttonBox")))
        if (QPushButton *ok = box->button(QDialogButtonBox::Ok))
            ok->setEnabled(false);
    if (m_missingNote == nullptr && layout() != nullptr) {
        m_missingNote = new QLabel(tr("The sensor does not have these settings."), this);
        m_missingNote->setObjectName(QStringLiteral("labelMissingSettings"));
        m_missingNote->setWordWrap(true);
        if (auto *box = qobject_cast<QBoxLayout *>(layout()))
            box->insertWidget(0, m_missingNote);
        else if (auto *grid = qobject_cast<QGridLayout *>(layout()))
            grid->addWidget(m_missingNote, grid->rowCount(), 0, 1, grid->columnCount());
    }
}

void Dialog_Settings::takeSchemaRange(QSpinBox *spin, const QString &attribute) const
{
    takeSchemaRange(spin, docPath, attribute);
}

void Dialog_Settings::takeSchemaRange(QSpinBox *spin, const QStringList &path, const QString &attribute) const
{
    const SchemaDoc::Bounds bounds = model->schemaDoc().bounds(path, attribute);
    if (bounds.min)
        spin->setMinimum(*bounds.min);
    if (bounds.max)
        spin->setMaximum(*bounds.max);
}

ConfigElement Dialog_Settings::cameraFeature(const ConfigRequest &request, const QString &cameraId, const char *feature)
{
    return request.path({{"config"}, {"cameras"}, {"camera", cameraId.toLatin1()}, {feature}});
}

bool Dialog_Settings::sendRequest(const ConfigRequest &request, const QString &title)
{
    if (!request.send(this, title))
        return false;
    accept();
    return true;
}

PXRMsgElement *Dialog_Settings::findCamera(PXRMsg *config, const QString &cameraId)
{
    PXRMsgElement *cameras = PXRMsgElementFirstChild(PXRMsgChild(config), "cameras");
    const QByteArray id = cameraId.toLatin1();
    for (PXRMsgElement *camera = PXRMsgElementFirstChild(cameras, "camera"); camera != nullptr;
         camera = PXRMsgElementNextChild(cameras, camera, "camera"))
        if (PXRMsgStringEqual(PXRMsgElementAttributeValue(camera, "id"), id.constData()))
            return camera;
    return nullptr;
}

PXRMsgElement *Dialog_Settings::findLighting(PXRMsg *config, const QString &lightingKey)
{
    const qsizetype equals = lightingKey.indexOf(QLatin1Char('='));
    if (equals < 0)
        return nullptr;
    const QByteArray type = lightingKey.left(equals).toLatin1();
    const QByteArray id = lightingKey.mid(equals + 1).toLatin1();
    PXRMsgElement *lightings = PXRMsgElementFirstChild(PXRMsgChild(config), "lightings");
    for (PXRMsgElement *lighting = PXRMsgElementFirstChild(lightings, type.constData()); lighting != nullptr;
         lighting = PXRMsgElementNextChild(lightings, lighting, type.constData()))
        if (PXRMsgStringEqual(PXRMsgElementAttributeValue(lighting, "id"), id.constData()))
            return lighting;
    return nullptr;
}
