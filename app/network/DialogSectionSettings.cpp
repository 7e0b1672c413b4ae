// The base of the network family's settings dialogs.
#include "DialogSectionSettings.h"

#include "ConfigRequest.h"
#include "Model.h"
#include "UrlRules.h"
#include "ZyDialogs.h"

#include <QLineEdit>

DialogSectionSettings::DialogSectionSettings(QWidget *parent, QList<QByteArray> path, QString answerTitle)
    : Dialog_Settings(parent), m_path(std::move(path)), m_answerTitle(std::move(answerTitle))
{
}

QStringList DialogSectionSettings::schemaPath() const
{
    QStringList path{QStringLiteral("config")};
    for (const QByteArray &name : m_path)
        path.append(QString::fromLatin1(name));
    return path;
}

PXRMsgElement *DialogSectionSettings::section() const
{
    PXRMsgElement *element = PXRMsgChild(model->config());
    for (const QByteArray &name : m_path)
        element = PXRMsgElementFirstChild(element, name.constData());
    return element;
}

void DialogSectionSettings::displayConfig()
{
    showElement(section());
}

bool DialogSectionSettings::inputAccepted()
{
    return m_webUrl == nullptr || urlAccepted(m_webUrl, tr("Error"), tr("URL is invalid, maybe missing trailing / ?"));
}

bool DialogSectionSettings::urlAccepted(const QLineEdit *edit, const QString &title, const QString &text)
{
    if (!edit->isEnabled() || UrlRules::isValidUrl(edit->text()))
        return true;
    ZyDialogs::critical(this, title, text);
    return false;
}

void DialogSectionSettings::on_buttonBox_accepted()
{
    if (!inputAccepted())
        return;
    QList<ConfigElement::Step> steps{{"config"}};
    for (const QByteArray &name : m_path)
        steps.append(ConfigElement::Step(name));
    ConfigRequest request("setConfig");
    binding.write(request.path(steps));
    sendRequest(request, m_answerTitle);
}

void DialogSectionSettings::on_buttonBox_rejected()
{
    reject();
}
