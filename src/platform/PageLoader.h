#pragma once

#include <QObject>
#include <QString>

#include <optional>

namespace mirvo {

/// Loads one web page at a time in the background, for its title only.
/// downloadBegin() is emitted when a download starts; downloadComplete() when it ends,
/// also after a failure, a timeout or stop().
class PageLoader : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void navigate(const QString &address) = 0;
    virtual void stop() = 0;

    /// The loaded document's title; nothing when there is no document or no readable title.
    virtual std::optional<QString> title() const = 0;

Q_SIGNALS:
    void downloadBegin();
    void downloadComplete();
};

} // namespace mirvo
