#pragma once

#include <QString>
#include <QStringList>

namespace mirvo {

/// The names of the ordinary files in folder, links to ordinary files included, without
/// hidden (dot) names, in listing order. A folder that cannot be read lists nothing.
QStringList listOrdinaryFiles(const QString &folder);

/// The listing order: names compared lower-cased, as QDir::Name | QDir::IgnoreCase sorts
/// them, and names equal that way in binary order, so the order is total.
bool listedBefore(const QString &a, const QString &b);

namespace detail {
/// The platform's reading of the folder, unsorted.
QStringList readOrdinaryFiles(const QString &folder);
} // namespace detail

} // namespace mirvo
