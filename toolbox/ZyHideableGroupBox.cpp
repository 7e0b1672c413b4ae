// A checkable group box that folds to its title bar while unchecked.
#include "ZyHideableGroupBox.h"

#include <QLayout>

ZyHideableGroupBox::ZyHideableGroupBox(QWidget *parent)
    : QGroupBox(parent)
    , m_savedVerticalPolicy(sizePolicy().verticalPolicy())
{
    connect(&m_resizeTimer, &QTimer::timeout, this, &ZyHideableGroupBox::onTimerResize);
    connect(this, &QGroupBox::toggled, this, &ZyHideableGroupBox::on_toggled);
}

bool ZyHideableGroupBox::isExpanded() const
{
    return m_expanded;
}

int ZyHideableGroupBox::collapsedHeight() const
{
    return isFlat() ? 15 : 20;
}

void ZyHideableGroupBox::setHeightKeepingWidth(int height)
{
    resize(width(), height);
}

void ZyHideableGroupBox::restoreVerticalPolicy()
{
    setSizePolicy(sizePolicy().horizontalPolicy(), m_savedVerticalPolicy);
}

void ZyHideableGroupBox::invalidateLayouts()
{
    if (layout())
        layout()->invalidate();
    if (parentWidget() && parentWidget()->layout())
        parentWidget()->layout()->invalidate();
}

void ZyHideableGroupBox::collapse()
{
    m_expanded = false;
    setHeightKeepingWidth(collapsedHeight());
    m_resizeTimer.stop();
    setChecked(false);
}

void ZyHideableGroupBox::setVisible(bool visible)
{
    QGroupBox::setVisible(visible);
    if (visible)
        setHeightKeepingWidth(m_expanded ? sizeHint().height() : collapsedHeight());
}

QSize ZyHideableGroupBox::sizeHint() const
{
    QSize hint = QGroupBox::sizeHint();
    if (!m_expanded)
        hint.setHeight(height());
    return hint;
}

QSize ZyHideableGroupBox::minimumSizeHint() const
{
    QSize hint = QGroupBox::minimumSizeHint();
    if (!m_expanded)
        hint.setHeight(height());
    return hint;
}

void ZyHideableGroupBox::on_toggled(bool bOn)
{
    if (m_expanded)
        m_step = 5000;
    if (bOn) {
        setHeightKeepingWidth(sizeHint().height());
        m_expanded = true;
        restoreVerticalPolicy();
    } else {
        setSizePolicy(sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
        setHeightKeepingWidth(collapsedHeight());
    }
    m_resizeTimer.setSingleShot(false);
    m_resizeTimer.start(0);
    invalidateLayouts();
}

void ZyHideableGroupBox::onTimerResize()
{
    if (isChecked()) {
        const int target = sizeHint().height();
        if (height() < target - m_step) {
            setHeightKeepingWidth(height() + m_step);
        } else {
            setHeightKeepingWidth(target);
            m_resizeTimer.stop();
            m_expanded = true;
            restoreVerticalPolicy();
        }
    } else {
        m_expanded = false;
        if (height() > collapsedHeight()) {
            setHeightKeepingWidth(qMax(collapsedHeight(), height() - m_step));
        } else {
            setHeightKeepingWidth(collapsedHeight());
            m_resizeTimer.stop();
        }
    }
    invalidateLayouts();
}
