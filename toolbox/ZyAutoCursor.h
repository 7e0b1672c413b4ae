// Scoped cursor: set on a widget for the lifetime of a local object.
#pragma once

#include <QObject>

class QWidget;

class ZyAutoCursor : public QObject
{
    Q_OBJECT

public:
    ZyAutoCursor(QWidget *widget, Qt::CursorShape shape);
    ~ZyAutoCursor() override;
};
