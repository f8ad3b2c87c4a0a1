#pragma once
// A push button that hands every mouse button's press and release to the
// pointer model, with any modifiers, and draws itself down as the model
// says. QPushButton's own mouse handling knows only the left button, lets
// go of a press when the focus leaves, and clicks on its own terms; here
// the model decides. Space and an assistive technology's press still click
// through QAbstractButton (clicked()).

#include <QPushButton>

namespace petcalc::ui {

class RepeatButton : public QPushButton {
    Q_OBJECT
public:
    explicit RepeatButton(const QString& text, QWidget* parent = nullptr) : QPushButton(text, parent) {}

    // Whether this button's primary press may still click: drawn down
    // while the pointer is over it.
    void setArmed(bool armed);

signals:
    // A mouse button went down or up here (the press is accepted, so the
    // window system brings every release back here); over: the pointer was
    // over the button.
    void mouseDown(Qt::MouseButton b, bool over);
    void mouseUp(Qt::MouseButton b, bool over);
    // The button can no longer receive the release (disabled or hidden).
    void releaseLost();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    bool m_armed = false;
};

}  // namespace petcalc::ui
