#include "form2.h"

#include <QPlainTextEdit>
#include <QStringList>

#include "appearance.h"
#include "windowtable.h"

namespace petcalc::ui {

Form2::Form2(QWidget* parent) : QWidget(parent), m_text1(new QPlainTextEdit(this)) {
    setObjectName("Form2");
    setWindowTitle(QString::fromUtf8(kForm2.caption.data(), kForm2.caption.size()));
    setWindowIcon(appIcon());
    resize(pixels(kForm2.width), pixels(kForm2.height));
    const ControlRow& box = kGrowthTableBox;
    m_text1->setObjectName(QString::fromUtf8(box.name.data(), box.name.size()));
    m_text1->setAccessibleName(QString::fromUtf8(box.accessibleName.data(), box.accessibleName.size()));
    m_text1->setAccessibleDescription(m_text1->objectName());
    // The box's right edge lies a pixel past the client area, as laid out.
    const PixelRect r = pixelRect(box.left, box.top, box.width, box.height);
    m_text1->setGeometry(r.x, r.y, r.width, r.height);
    m_text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The widget keeps lines, not line ends: CR LF becomes one break each.
    QString shown = QString::fromStdString(growthTableText());
    shown.replace("\r\n", "\n");
    shown.chop(1);
    m_text1->setPlainText(shown);
    m_text1->setFocus(Qt::OtherFocusReason);
}

}  // namespace petcalc::ui
