// Keeps one picture per widget in the build's test-pictures folder, so a person can look at them.
#pragma once

#include "ToolboxTestSupport.h"

#include <QDir>
#include <QString>

// Renders the widget offscreen and saves it as <name>.png; the saved image for checks.
inline QImage keepPicture(QWidget &widget, const QString &name)
{
    const QString folder = QStringLiteral(BZK_TEST_PICTURES_DIR);
    QDir().mkpath(folder);
    widget.show();
    QCoreApplication::processEvents();
    const QImage image = render(widget);
    image.save(folder + '/' + name + ".png");
    return image;
}
