// Keeps one picture per widget in the build's test-pictures folder, so a person can look at them,
// and checks that nothing in the pictured widget is cut or covered.
#pragma once

#include "LayoutCheck.h"
#include "ToolboxTestSupport.h"

#include <QDir>
#include <QString>

// Renders the widget offscreen and saves it as <name>.png; the saved image for checks. A text cut
// or a widget covered in the picture fails the test.
inline QImage keepPicture(QWidget &widget, const QString &name)
{
    const QString folder = QStringLiteral(BZK_TEST_PICTURES_DIR);
    QDir().mkpath(folder);
    widget.show();
    QCoreApplication::processEvents();
    const QImage image = render(widget);
    image.save(folder + '/' + name + ".png");
    const QList<LayoutFault> faults = checkLayout(widget);
    EXPECT_TRUE(faults.isEmpty()) << name.toStdString() << ":\n" << describeFaults(faults).toStdString();
    return image;
}
