#include "platform/NetworkPageLoader.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace mirvo {

namespace {

bool isWebScheme(const QString &scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

} // namespace

NetworkPageLoader::NetworkPageLoader(TitleReader readTitle, QObject *parent)
    : PageLoader(parent)
    , m_readTitle(std::move(readTitle))
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &NetworkPageLoader::stop);
}

NetworkPageLoader::~NetworkPageLoader()
{
    dropReply();
}

void NetworkPageLoader::setTimeout(std::chrono::milliseconds timeout)
{
    m_timeout = timeout;
}

void NetworkPageLoader::navigate(const QString &address)
{
    stop();
    m_hasDocument = false;
    m_title.reset();
    m_body.clear();
    const QUrl url(address);
    m_loading = true;

    if (isWebScheme(url.scheme())) {
        // Qt follows redirects to http(s) only, and refuses https down to http.
        QNetworkRequest request(url);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        request.setMaximumRedirectsAllowed(maxRedirects);
        m_reply = m_network.get(request);
        connect(m_reply, &QNetworkReply::metaDataChanged, this, &NetworkPageLoader::onMetaDataChanged);
        connect(m_reply, &QNetworkReply::readyRead, this, &NetworkPageLoader::onReadyRead);
        connect(m_reply, &QNetworkReply::finished, this, &NetworkPageLoader::onFinished);
        m_deadline.start(m_timeout);
    } else {
        // Never local files or other schemes; fail from the event loop like any other load.
        m_deadline.start(0);
    }
    emit downloadBegin();
}

void NetworkPageLoader::stop()
{
    finish(false);
}

std::optional<QString> NetworkPageLoader::title() const
{
    return m_hasDocument ? m_title : std::nullopt;
}

void NetworkPageLoader::onMetaDataChanged()
{
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > maxBodySize)
        finish(false);
}

void NetworkPageLoader::onReadyRead()
{
    if (m_body.size() + m_reply->bytesAvailable() > maxBodySize) {
        finish(false);
        return;
    }
    m_body += m_reply->readAll();
}

void NetworkPageLoader::onFinished()
{
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
        finish(false);
        return;
    }
    onReadyRead();
    if (!m_loading)
        return;
    m_title = m_readTitle(m_body, m_reply->rawHeader("Content-Type"));
    finish(true);
}

void NetworkPageLoader::finish(bool succeeded)
{
    if (!m_loading)
        return;
    m_loading = false;
    m_deadline.stop();
    dropReply();
    m_body.clear();
    m_hasDocument = succeeded;
    if (!succeeded)
        m_title.reset();
    emit downloadComplete();
}

void NetworkPageLoader::dropReply()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

} // namespace mirvo
