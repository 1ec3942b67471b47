#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace mirvo::pagetitle {

/// The title of an HTML document's bytes, decoded by the charset of the Content-Type
/// header, else the page's meta tag, else by detecting UTF-8 or GB18030; entities decoded
/// and white space collapsed. Nothing when the page has no title element.
std::optional<QString> documentTitle(const QByteArray &body, const QByteArray &contentType);

} // namespace mirvo::pagetitle
