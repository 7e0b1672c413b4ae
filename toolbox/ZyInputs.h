// Text, number and choice inputs, run through the modal seam so that tests answer them.
#pragma once

#include <QLineEdit>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

class ZyInputs
{
public:
    ZyInputs() = delete;

    // The typed text; nothing when cancelled.
    static std::optional<QString> getText(QWidget *parent, const QString &title, const QString &label, const QString &text,
                                          QLineEdit::EchoMode echo = QLineEdit::Normal);
    // Nothing when cancelled.
    static std::optional<int> getInt(QWidget *parent, const QString &title, const QString &label, int value,
                                     int minimum, int maximum);
    static std::optional<QString> getItem(QWidget *parent, const QString &title, const QString &label,
                                          const QStringList &items, int current);
};
