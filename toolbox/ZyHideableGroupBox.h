// A checkable group box that folds to its title bar while unchecked.
#pragma once

#include <QGroupBox>
#include <QSizePolicy>
#include <QTimer>

class ZyHideableGroupBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit ZyHideableGroupBox(QWidget *parent = nullptr);

    void collapse();
    bool isExpanded() const;
    int collapsedHeight() const;

    void setVisible(bool visible) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private slots:
    void on_toggled(bool bOn);
    void onTimerResize();

private:
    void setHeightKeepingWidth(int height);
    void restoreVerticalPolicy();
    void invalidateLayouts();

    QTimer m_resizeTimer;
    bool m_expanded = true;
    int m_step = 40;
    QSizePolicy::Policy m_savedVerticalPolicy;
};
