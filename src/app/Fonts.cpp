#include "app/Fonts.h"

#include <QApplication>
#include <QFont>

namespace mirvo {

void substituteFonts()
{
#ifndef Q_OS_WIN
    // The platform's size and style, but Chinese captions in one face instead of glyph by
    // glyph fallback.
    QFont interfaceFont = QApplication::font();
    interfaceFont.setFamilies({QStringLiteral("Noto Sans CJK SC"), interfaceFont.family()});
    QApplication::setFont(interfaceFont);
#endif
    // "宋体" is a Song (serif) face: the drill's words and meanings keep its strokes.
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                                QStringLiteral("Noto Sans CJK SC")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
}

} // namespace mirvo
