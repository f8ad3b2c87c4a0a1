#pragma once
// A push button that reports press and release for every mouse button, with
// any modifiers. QPushButton's own pressed()/released() only know the left
// button and also fire when the pointer leaves and re-enters while held,
// which would stop a hold-to-repeat that should go on.

#include <QPushButton>

namespace petcalc::ui {

class RepeatButton : public QPushButton {
    Q_OBJECT
public:
    explicit RepeatButton(const QString& text, QWidget* parent = nullptr);

signals:
    // A mouse button went down on this button. The press is accepted, so the
    // release of that button comes back here even if the pointer has left.
    void mousePressed();
    void mouseReleased();
    // The button can no longer receive the release (disabled or hidden).
    void releaseLost();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    bool m_primary = false;  // a primary press made over this button is under way
    bool m_spent = false;    // the keyboard clicked during it: its release clicks no more
};

}  // namespace petcalc::ui
