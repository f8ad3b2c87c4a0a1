#include "appearance.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QImageReader>
#include <QLineEdit>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>

// The resources live in a static library: nothing would pull them into a
// program unless they are initialised by name. Q_INIT_RESOURCE must stand
// outside any namespace.
static void initPetcalcResources() { Q_INIT_RESOURCE(petcalc); }

namespace petcalc::ui {

void applyAppearance(QApplication& app) {
    // Fusion looks the same on every desktop and takes no platform theme's
    // fonts or metrics; the font is set explicitly for the same reason.
    if (QStyle* fusion = QStyleFactory::create("Fusion")) app.setStyle(fusion);
    QFont font(kFontFamily);
    font.setPixelSize(kFontPixelSize);
    font.setStyleHint(QFont::SansSerif);
    app.setFont(font);
    // Small controls: thin frames and no padding, so that captions and
    // values fit the fixed geometry; indicators fit the 12 px check box.
    app.setStyleSheet(
        "QPushButton { padding: 0px; }"
        "QLineEdit { padding: 0px; }"
        "QCheckBox::indicator { width: 11px; height: 11px; }");
    app.setWindowIcon(appIcon());
}

QIcon appIcon() {
    static const bool loaded = (initPetcalcResources(), true);
    (void)loaded;
    // The 48 px picture through Qt's built-in PNG reader, its format named
    // and content probing off. QIcon's own file loading asks every image
    // plugin whether it reads the file, loading each (and libjpeg with them),
    // and an .svg source pulls in the svg icon engine: a cost at every start
    // for a picture the window carries at 48 px only.
    QImageReader reader(QStringLiteral(":/petcalc/petcalc-48.png"), "png");
    reader.setAutoDetectImageFormat(false);
    return QIcon(QPixmap::fromImage(reader.read()));
}

QFont tallButtonFont() {
    QFont font = QApplication::font();
    font.setPixelSize(kFontPixelSize - 1);
    return font;
}

QString verticalCaption(const QString& caption) {
    QStringList chars;
    for (const QChar c : caption) chars << QString(c);
    return chars.join('\n');
}

// A line edit keeps 2 px of its own on each side of the text; the boxes of
// this window are narrow, so they give those pixels back to the text.
void fitBox(QLineEdit* box) { box->setTextMargins(-kInnerMargin, 0, -kInnerMargin, 0); }

int textRoom(const QLineEdit* box) {
    const int frame = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box) : 0;
    const QMargins m = box->textMargins();
    return box->contentsRect().width() - 2 * frame - 2 * kInnerMargin - m.left() - m.right();
}

void fitToolTip(QLineEdit* box) {
    const QString t = box->text();
    box->setToolTip(box->fontMetrics().horizontalAdvance(t) > textRoom(box) ? t : QString());
}

}  // namespace petcalc::ui
