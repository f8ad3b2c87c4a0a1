#include "repeatbutton.h"

#include <QGuiApplication>
#include <QMouseEvent>

namespace petcalc::ui {

RepeatButton::RepeatButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    // The keyboard's click while the primary press is under way spends that
    // press, as the click it would have given has happened.
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (m_primary && (QGuiApplication::mouseButtons() & Qt::LeftButton)) m_spent = true;
    });
}

void RepeatButton::mousePressEvent(QMouseEvent* e) {
    // The primary button goes through QPushButton first so that it draws
    // itself down and can report the click after the release.
    if (e->button() == Qt::LeftButton) {
        QPushButton::mousePressEvent(e);
        m_primary = isDown();
        m_spent = false;
    }
    e->accept();
    emit mousePressed();
}

void RepeatButton::mouseReleaseEvent(QMouseEvent* e) {
    // The release stops the repeat before the click adds the final step.
    emit mouseReleased();
    if (e->button() == Qt::LeftButton) {
        QPushButton::mouseReleaseEvent(e);
        m_primary = m_spent = false;
    }
    e->accept();
}

// A spent press is not armed again by the pointer coming back.
void RepeatButton::mouseMoveEvent(QMouseEvent* e) {
    if (!m_spent) QPushButton::mouseMoveEvent(e);
}

// QPushButton lets go of a press when the keyboard focus leaves it; the
// primary press under way still clicks at its release over the button.
void RepeatButton::focusOutEvent(QFocusEvent* e) {
    const bool keep = isDown() && m_primary && !m_spent;
    QPushButton::focusOutEvent(e);
    if (keep) setDown(true);
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
