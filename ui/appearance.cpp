#include "appearance.h"

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImageReader>
#include <QLineEdit>
#include <QPixmap>
#include <QProxyStyle>
#include <QResource>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>

// The resources live in a static library: nothing would pull them into a
// program unless they are initialised by name. Q_INIT_RESOURCE must stand
// outside any namespace.
static void initPetcalcResources() { Q_INIT_RESOURCE(petcalc); }
static void initPetcalcFont() { Q_INIT_RESOURCE(petcalc_font); }

namespace petcalc::ui {

namespace {

// Fusion with small controls, so that captions and values fit the fixed
// geometry: no padding in push buttons, 11 px check box indicators that fit
// the 12 px high Check3. A proxy style rather than a style sheet: the style
// sheet machinery matches and caches rules for each of the 87 widgets and
// costs about 9 % of the instructions of a start-up and 1.4 MiB.
class CompactStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric m, const QStyleOption* opt, const QWidget* w) const override {
        if (m == PM_IndicatorWidth || m == PM_IndicatorHeight) return kIndicatorSize;
        return QProxyStyle::pixelMetric(m, opt, w);
    }

    QRect subElementRect(SubElement e, const QStyleOption* opt, const QWidget* w) const override {
        if (e == SE_PushButtonContents) return opt->rect;  // the caption may use the whole button
        return QProxyStyle::subElementRect(e, opt, w);
    }

    // A push button laid out by Qt (the OK of a fault message) is its
    // caption and a 1 px frame, small like the window's own buttons.
    QSize sizeFromContents(ContentsType t, const QStyleOption* opt, const QSize& size,
                           const QWidget* w) const override {
        if (t == CT_PushButton) return size + QSize(2, 2);
        return QProxyStyle::sizeFromContents(t, opt, size, w);
    }

    // Fusion centres the indicator rounding down, so an odd spare pixel row
    // falls below it; this window keeps that row above it (Check3, 12 px
    // high, shows its indicator one row lower than Fusion would).
    void drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p, const QWidget* w) const override {
        const auto* box = qobject_cast<const QCheckBox*>(w);
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(opt);
        if (pe == PE_IndicatorCheckBox && box && button) {
            QStyleOptionButton shifted(*button);
            shifted.rect.translate(0, (box->height() - shifted.rect.height()) & 1);
            QProxyStyle::drawPrimitive(pe, &shifted, p, w);
            return;
        }
        QProxyStyle::drawPrimitive(pe, opt, p, w);
    }

private:
    static constexpr int kIndicatorSize = 11;
};

}  // namespace

// rcc stored the font uncompressed: FreeType reads the bytes in place, no
// copy made.
void addProgramFont() {
    initPetcalcFont();
    const QResource font(QStringLiteral(":/petcalc/petcalc-cjk.ttf"));
    const auto* bytes = reinterpret_cast<const char*>(font.data());
    QFontDatabase::addApplicationFontFromData(font.compressionAlgorithm() == QResource::NoCompression
                                                  ? QByteArray::fromRawData(bytes, font.size())
                                                  : font.uncompressedData());
}

void applyAppearance(QApplication& app) {
    // Fusion looks the same on every desktop and takes no platform theme's
    // fonts or metrics; the font is set explicitly for the same reason.
    if (QStyle* fusion = QStyleFactory::create("Fusion")) app.setStyle(new CompactStyle(fusion));
    addProgramFont();
    QFont font(kFontFamily);
    font.setPixelSize(kFontPixelSize);
    font.setStyleHint(QFont::SansSerif);
    // Light hinting, crisp horizontal strokes at 12 px, whatever hinting the
    // desktop asks for: another style moves the Latin glyphs' advances.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    app.setFont(font);
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
