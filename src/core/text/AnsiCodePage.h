#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

/// The system's ANSI code page, through the system's own converter: what Windows programs such
/// as Notepad read and write as "ANSI". Linux has none (its text is UTF-8).
namespace mirvo::ansi {

/// The code page's number (936 for GBK, 1252 for Western European, ...); 0 where there is none.
unsigned codePage();

/// The text in the code page, when every character survives the round trip through it: no
/// best-fit stand-in ("a" for "ā"), no default character; nothing otherwise, or with no code page.
std::optional<QByteArray> encode(QStringView text);

/// The bytes read in the code page; nothing when they are not valid there, or with no code page.
std::optional<QString> decode(QByteArrayView bytes);

} // namespace mirvo::ansi
