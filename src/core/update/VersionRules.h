#pragma once

#include <QString>

#include <optional>

namespace mirvo::versionrules {

/// How the published version stands against ours.
enum class Order { RemoteNewer, Same, LocalNewer };

/// The text between the first "[" and the first "]" of the whole title; nothing unless
/// the "[" stands before that "]". Later bracket pairs are ignored.
std::optional<QString> bracketedVersion(const QString &title);

/// Reads a number the forgiving way: spaces, tabs and line feeds are ignored wherever they
/// stand; an optional sign, then digits with at most one "." (whatever the locale) are read
/// from the start up to the first character that cannot continue them. No number reads as 0.
double lenientNumber(const QString &text);

/// The number the whole text spells (optional sign, digits, at most one "."), allowing
/// only surrounding blanks; nothing for anything else.
std::optional<double> strictNumber(const QString &text);

/// Plain comparison of the two numbers, no tolerance.
Order compare(double local, double remote);

/// What a page title announces against the local version text; nothing when it
/// announces no version at all.
std::optional<Order> announcedOrder(const QString &title, const QString &localVersion);

} // namespace mirvo::versionrules
