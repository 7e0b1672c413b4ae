// Ends whatever modal dialog or popup is up, again and again, as an operator who always answers
// the same would: the tests of real modal runs, with no handler installed, lean on it.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QProgressDialog>
#include <QStringList>
#include <QTimer>

#include <functional>

class ModalCloser : public QObject
{
public:
    // Windows the predicate names are left to end by themselves.
    using LeaveAlone = std::function<bool(QWidget *)>;

    explicit ModalCloser(int answer = QDialog::Rejected, LeaveAlone leaveAlone = {})
        : m_answer(answer), m_leaveAlone(std::move(leaveAlone))
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, &ModalCloser::closeOne);
        m_timer.start();
    }

    // The classes of the windows ended so far, in order.
    const QStringList &closed() const { return m_closed; }
    qsizetype mark() const { return m_closed.size(); }
    QStringList closedSince(qsizetype mark) const { return m_closed.mid(mark); }

private:
    void closeOne()
    {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            note(popup);
            popup->close();
            return;
        }
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible() || (m_leaveAlone && m_leaveAlone(dialog)))
            return;
        note(dialog);
        // A polled progress dialog ends through its cancel, which its owner reads.
        if (auto *progress = qobject_cast<QProgressDialog *>(dialog))
            progress->cancel();
        else
            dialog->done(m_answer);
    }
    void note(QWidget *widget) { m_closed << QString::fromLatin1(widget->metaObject()->className()); }

    int m_answer;
    LeaveAlone m_leaveAlone;
    QTimer m_timer;
    QStringList m_closed;
};
