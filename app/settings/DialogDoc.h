// The borderless panel beside a settings dialog that shows the schema's documentation of what
// the dialog edits, and remembers whether the operator wants it shown.
#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class DialogDoc;
}

class DialogDoc : public QDialog
{
    Q_OBJECT

public:
    explicit DialogDoc(QWidget *parent);
    ~DialogDoc() override;

    // Shows the panel with the text (hidden again for an empty one); the operator wants it shown.
    void setText(const QString &html);

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_btnClose_clicked();

private:
    void hideByOperator();

    std::unique_ptr<Ui::DialogDoc> ui;
};
