#include "repeatbutton.h"

#include <QMouseEvent>

namespace petcalc::ui {

void RepeatButton::setArmed(bool armed) {
    if (armed == m_armed) return;
    m_armed = armed;
    setDown(armed);
}

void RepeatButton::mousePressEvent(QMouseEvent* e) {
    e->accept();
    emit mouseDown(e->button(), rect().contains(e->position().toPoint()));
}

void RepeatButton::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    emit mouseUp(e->button(), rect().contains(e->position().toPoint()));
}

void RepeatButton::mouseMoveEvent(QMouseEvent* e) {
    if (m_armed) setDown(rect().contains(e->position().toPoint()));
}

void RepeatButton::changeEvent(QEvent* e) {
    QPushButton::changeEvent(e);
    if (e->type() == QEvent::EnabledChange && !isEnabled()) emit releaseLost();
}

void RepeatButton::hideEvent(QHideEvent* e) {
    QPushButton::hideEvent(e);
    emit releaseLost();
}

}  // namespace petcalc::ui
