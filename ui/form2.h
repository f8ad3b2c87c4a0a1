#pragma once
// The growth table window: a fixed reference text of the growth values of
// the species groups. Nothing reads it and it handles no events.

#include <QWidget>

class QPlainTextEdit;

namespace petcalc::ui {

class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
    QPlainTextEdit* text1() const { return m_text1; }

private:
    QPlainTextEdit* m_text1;
};

}  // namespace petcalc::ui
