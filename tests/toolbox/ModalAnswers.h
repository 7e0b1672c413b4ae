// Answers the modal dialogs of a test in the order the test queued them, and keeps every dialog
// it saw; a fixture mixes it in and installs answer() as the modal seam's handler.
#pragma once

#include <QDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QStringList>
#include <QTreeWidget>

#include <deque>
#include <functional>
#include <vector>

// One dialog as the test saw it: its class, its title and its text (a box's text, an input's
// label, a viewer's comment, or the number of listed messages).
struct SeenDialog
{
    QString kind;
    QString title;
    QString text;
};

class ModalAnswers
{
protected:
    using Answer = std::function<int(QDialog *)>;

    // Answers for the dialogs to come, in order; without one a box gets OK (or Yes) and any
    // other dialog is accepted as it stands.
    static Answer press(QMessageBox::StandardButton button)
    {
        return [button](QDialog *) { return int(button); };
    }
    static Answer typeText(const QString &text)
    {
        return [text](QDialog *dialog) {
            static_cast<QInputDialog *>(dialog)->setTextValue(text);
            return int(QDialog::Accepted);
        };
    }
    static Answer typeInt(int value)
    {
        return [value](QDialog *dialog) {
            static_cast<QInputDialog *>(dialog)->setIntValue(value);
            return int(QDialog::Accepted);
        };
    }
    static Answer cancel()
    {
        return [](QDialog *) { return int(QDialog::Rejected); };
    }

    // The wait shown during a request runs for real: it ends with the answer.
    int answer(QDialog *dialog)
    {
        if (dialog->inherits("DialogWait"))
            return dialog->exec();
        seen.push_back(describe(dialog));
        if (!answers.empty()) {
            Answer next = std::move(answers.front());
            answers.pop_front();
            return next(dialog);
        }
        if (auto *box = qobject_cast<QMessageBox *>(dialog))
            return box->standardButtons().testFlag(QMessageBox::Yes) ? int(QMessageBox::Yes) : int(QMessageBox::Ok);
        return int(QDialog::Accepted);
    }
    static SeenDialog describe(QDialog *dialog)
    {
        SeenDialog d{QString::fromLatin1(dialog->metaObject()->className()), dialog->windowTitle(), QString()};
        if (auto *box = qobject_cast<QMessageBox *>(dialog))
            d.text = box->text();
        else if (auto *input = qobject_cast<QInputDialog *>(dialog))
            d.text = input->labelText();
        else if (dialog->inherits("DlgMsgs"))
            d.text = QString::number(dialog->findChild<QTreeWidget *>("treeList")->topLevelItemCount());
        else if (dialog->inherits("DlgMsg"))
            d.text = dialog->findChild<QLabel *>("labelComment")->text();
        return d;
    }

    QStringList kinds() const
    {
        QStringList out;
        for (const SeenDialog &d : seen)
            out << d.kind;
        return out;
    }
    QStringList texts() const
    {
        QStringList out;
        for (const SeenDialog &d : seen)
            out << d.text;
        return out;
    }

    std::deque<Answer> answers;
    std::vector<SeenDialog> seen;
};
