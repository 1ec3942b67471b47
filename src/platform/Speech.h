#pragma once

#include <QObject>
#include <QString>

namespace mirvo {

/// Speaks English words aloud. Never blocks and never shows anything: when speech cannot
/// work here, available() is false and say() does nothing.
class Speech : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    /// Whether say() can be heard: an engine with an English voice that has not failed.
    virtual bool available() const = 0;
    /// Speaks the text, cutting off whatever was being spoken.
    virtual void say(const QString &text) = 0;
    /// Stops speaking at once; does nothing when silent.
    virtual void stop() = 0;

Q_SIGNALS:
    /// available() changed: an engine finished loading, or failed after it was offered.
    void availableChanged(bool available);
};

} // namespace mirvo
