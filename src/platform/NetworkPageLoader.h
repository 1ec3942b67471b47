#pragma once

#include "platform/PageLoader.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <chrono>

class QNetworkReply;

namespace mirvo {

/// Loads pages over HTTP(S) for their title, within sound limits: a deadline for the whole
/// transfer, redirects never to a less safe scheme, a cap on the body. A load that fails,
/// times out or is stopped holds no document.
class NetworkPageLoader final : public PageLoader
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds defaultTimeout{20000};
    static constexpr qint64 maxBodySize = 1024 * 1024;
    static constexpr int maxRedirects = 10;

    explicit NetworkPageLoader(QObject *parent = nullptr);
    ~NetworkPageLoader() override;

    /// Starts loading; a load still under way is stopped first. Emits downloadBegin() at once.
    void navigate(const QString &address) override;
    /// Abandons the load under way, which then completes without a document.
    void stop() override;
    std::optional<QString> title() const override;

    /// Deadline for a whole load, redirects included; applies from the next navigate().
    void setTimeout(std::chrono::milliseconds timeout);

    /// Only to http(s), and never from https down to http.
    static bool redirectAllowed(const QUrl &from, const QUrl &to);

    /// The title of an HTML document's bytes, decoded by the charset of the Content-Type
    /// header, else the page's meta tag, else by detecting UTF-8 or GB18030; entities decoded
    /// and white space collapsed. Nothing when the page has no title element.
    static std::optional<QString> documentTitle(const QByteArray &body, const QByteArray &contentType);

private:
    void onMetaDataChanged();
    void onReadyRead();
    void onFinished();
    void onRedirected(const QUrl &target);
    /// Ends the load under way; a failed load keeps no document.
    void finish(bool succeeded);
    void dropReply();

    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
    QTimer m_deadline;
    std::chrono::milliseconds m_timeout = defaultTimeout;
    bool m_loading = false;
    QUrl m_currentUrl;
    QByteArray m_body;
    bool m_hasDocument = false;
    std::optional<QString> m_title;
};

} // namespace mirvo
