// Placeholder until the form lands.
#include "DialogDoc.h"

#include "AppSettings.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace Ui {
class DialogDoc
{
public:
    QLabel *labelDoc = nullptr;
};
} // namespace Ui

DialogDoc::DialogDoc(QWidget *parent) : QDialog(parent, Qt::FramelessWindowHint), ui(new Ui::DialogDoc)
{
    ui->labelDoc = new QLabel(this);
    ui->labelDoc->setObjectName("labelDoc");
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ui->labelDoc);
    setModal(false);
}

DialogDoc::~DialogDoc() = default;

void DialogDoc::setText(const QString &html)
{
    AppSettings().setShowDialogDoc(true);
    show();
    if (html.isEmpty())
        hide();
    ui->labelDoc->setText(html);
}

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
