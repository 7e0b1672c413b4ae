// One request of the main window's file actions and the sensor's answer to it, which this
// object owns; it tells a data answer from a refusal or a missing answer.
#pragma once

#include <QCoreApplication>
#include <QString>

#include "PXR.h"

class QWidget;

class SensorAnswer
{
    Q_DECLARE_TR_FUNCTIONS(OBK)

public:
    // Sends the request root (with its "file" attribute when one is given) and keeps the answer.
    explicit SensorAnswer(const char *requestRoot, const QString &file = QString());
    ~SensorAnswer();
    SensorAnswer(const SensorAnswer &) = delete;
    SensorAnswer &operator=(const SensorAnswer &) = delete;

    // True for an answer carrying data; otherwise the error box with the text, detailed by
    // "NULL answer" or the sensor's error text.
    bool carriesData(QWidget *window, const QString &text) const;

    PXRMsg *message() const { return m_answer; }
    // The answer's root, or null.
    PXRMsgElement *root() const;
    // The binary content of the root's first child of that name; empty without one.
    QByteArray childContent(const char *name) const;
    bool hasChild(const char *name) const;

private:
    PXRMsg *m_answer = nullptr;
};
