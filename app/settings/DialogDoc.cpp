// The borderless documentation panel of the settings dialogs.
#include "DialogDoc.h"
#include "ui_DialogDoc.h"

#include "AppSettings.h"
#include "SettingsResources.h"

#include <QCloseEvent>

DialogDoc::DialogDoc(QWidget *parent) : QDialog(parent, Qt::FramelessWindowHint), ui(new Ui::DialogDoc)
{
    loadSettingsResources();
    ui->setupUi(this);
    setModal(false);
    // Only the rounded container is painted; the window's own corners stay see-through.
    setAttribute(Qt::WA_TranslucentBackground);
}

DialogDoc::~DialogDoc() = default;

void DialogDoc::setText(const QString &html)
{
    AppSettings().setShowDialogDoc(true);
    setVisible(!html.isEmpty());
    ui->labelDoc->setText(html);
}

// The window's own close command only hides the panel: its dialog owns and deletes it.
void DialogDoc::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hideByOperator();
}

void DialogDoc::on_btnClose_clicked()
{
    hideByOperator();
}

void DialogDoc::hideByOperator()
{
    hide();
    AppSettings().setShowDialogDoc(false);
}
