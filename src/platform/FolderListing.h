#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <string_view>

namespace mirvo {

/// The names of the ordinary files in folder, links to ordinary files included, without
/// hidden (dot) names, in listing order. A folder that cannot be read lists nothing.
QStringList listOrdinaryFiles(const QString &folder);

/// The listing order: names compared lower-cased, as QDir::Name | QDir::IgnoreCase sorts
/// them, and names equal that way in binary order, so the order is total.
bool listedBefore(const QString &a, const QString &b);

/// Sorts names into listing order.
void sortListed(QStringList &names);

/// Calls found with the name of each ordinary file in folder, hidden ones left out, in the
/// file system's encoding and the directory's order.
void readOrdinaryFiles(const QString &folder, const std::function<void(std::string_view)> &found);

} // namespace mirvo
