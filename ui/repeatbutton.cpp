#include "repeatbutton.h"

#include <QMouseEvent>

namespace petcalc::ui {

void RepeatButton::mousePressEvent(QMouseEvent* e) {
    // The primary button goes through QPushButton first so that it draws
    // itself down and can report the click after the release.
    if (e->button() == Qt::LeftButton) QPushButton::mousePressEvent(e);
    e->accept();
    emit mousePressed();
}

void RepeatButton::mouseReleaseEvent(QMouseEvent* e) {
    // The release stops the repeat before the click adds the final step.
    emit mouseReleased();
    if (e->button() == Qt::LeftButton) QPushButton::mouseReleaseEvent(e);
    e->accept();
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
