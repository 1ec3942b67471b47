#pragma once

#include "platform/PageLoader.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <functional>

class QNetworkReply;

namespace mirvo {

/// Loads pages over HTTP(S) for their title, within sound limits: a deadline for the whole
/// transfer, redirects only to http(s) and never from https down to http, a cap on the body.
/// A load that fails, times out or is stopped holds no document. Reading the title from the
/// document's bytes is left to the reader it is given.
class NetworkPageLoader final : public PageLoader
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds defaultTimeout{20000};
    static constexpr qint64 maxBodySize = 1024 * 1024;
    static constexpr int maxRedirects = 10;

    /// The title of a document's bytes under its Content-Type header, if it has one.
    using TitleReader =
        std::function<std::optional<QString>(const QByteArray &body, const QByteArray &contentType)>;

    explicit NetworkPageLoader(TitleReader readTitle, QObject *parent = nullptr);
    ~NetworkPageLoader() override;

    /// Starts loading; a load still under way is stopped first. Emits downloadBegin() at once.
    void navigate(const QString &address) override;
    /// Abandons the load under way, which then completes without a document.
    void stop() override;
    std::optional<QString> title() const override;

    /// Deadline for a whole load, redirects included; applies from the next navigate().
    void setTimeout(std::chrono::milliseconds timeout);

private:
    void onMetaDataChanged();
    void onReadyRead();
    void onFinished();
    /// Ends the load under way; a failed load keeps no document.
    void finish(bool succeeded);
    void dropReply();

    TitleReader m_readTitle;
    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
    QTimer m_deadline;
    std::chrono::milliseconds m_timeout = defaultTimeout;
    bool m_loading = false;
    QByteArray m_body;
    bool m_hasDocument = false;
    std::optional<QString> m_title;
};

} // namespace mirvo
