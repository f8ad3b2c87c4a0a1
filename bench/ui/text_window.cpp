// The floor with text: the bare window plus one label that draws each
// character of Form1's captions once, in Form1's font. What drawing Chinese
// text costs at all (fontconfig, FreeType, HarfBuzz, the font file), before
// any work of petcalc's own.
#include <QApplication>
#include <QLabel>

#include "appearance.h"
#include "windowtable.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    petcalc::ui::addProgramFont();
    QFont font(petcalc::ui::kFontFamily);
    font.setPixelSize(petcalc::ui::kFontPixelSize);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    app.setFont(font);
    QString chars;
    for (const petcalc::ControlRow& c : petcalc::mainWindowControls())
        for (const QChar ch : QString::fromUtf8(c.caption.data(), qsizetype(c.caption.size())))
            if (!chars.contains(ch)) chars += ch;
    QWidget window;
    window.setFixedSize(555, 328);
    QLabel label(chars, &window);
    label.setWordWrap(true);
    label.setGeometry(window.rect());
    window.show();
    return app.exec();
}
