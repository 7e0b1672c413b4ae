// Scoped cursor: set on a widget for the lifetime of a local object.
#include "ZyAutoCursor.h"

#include <QWidget>

ZyAutoCursor::ZyAutoCursor(QWidget *widget, Qt::CursorShape shape)
    : QObject(widget)
{
    widget->setCursor(shape);
}

ZyAutoCursor::~ZyAutoCursor()
{
    if (auto *widget = qobject_cast<QWidget *>(parent()))
        widget->unsetCursor();
}
