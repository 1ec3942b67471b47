#include "core/text/TextCodec.h"
#include "core/update/PageTitle.h"
#include "platform/NetworkPageLoader.h"

#include <QHash>
#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using mirvo::NetworkPageLoader;

namespace {

QByteArray gbk(const QString &text)
{
    return mirvo::textcodec::encode(text); // GB18030 is GBK for every text GBK holds
}

QByteArray http(const QByteArray &status, const QByteArray &headers, const QByteArray &body = {},
                bool withLength = true)
{
    QByteArray response = "HTTP/1.1 " + status + "\r\nConnection: close\r\n" + headers;
    if (withLength)
        response += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return response + "\r\n" + body;
}

QByteArray page(const QByteArray &head)
{
    return "<!DOCTYPE html><html><head>" + head + "</head><body><p>Mirvo</p></body></html>";
}

QByteArray htmlOk(const QByteArray &head)
{
    return http("200 OK", "Content-Type: text/html\r\n", page(head));
}

/// A minimal HTTP server on 127.0.0.1: a canned response per path, or no answer at all.
class LocalHttpServer
{
public:
    LocalHttpServer()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
                    ++closedConnections;
                    socket->deleteLater();
                });
            }
        });
    }

    QString url(const QByteArray &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()) + QString::fromLatin1(path);
    }
    QByteArray port() const { return QByteArray::number(m_server.serverPort()); }

    QHash<QByteArray, QByteArray> routes; // path -> raw response; others get a 404
    QList<QByteArray> hanging;            // paths never answered
    QList<QByteArray> requests;
    int closedConnections = 0;

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &pending = m_pending[socket];
        pending += socket->readAll();
        if (!pending.contains("\r\n\r\n"))
            return;
        const QByteArray path = pending.left(pending.indexOf("\r\n")).split(' ').value(1);
        m_pending.remove(socket);
        requests.append(path);
        if (hanging.contains(path))
            return;
        const QByteArray response = routes.value(path, http("404 Not Found", {}, "no such page"));
        socket->write(response);
        // A body without a length ends with the connection, and a close can cut it short:
        // keep such a connection open, so the client has to stop at the cap by itself.
        if (response.contains("Content-Length:"))
            socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

} // namespace

class TestNetworkPageLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void load_data();
    void load();
    void connectionRefused();
    void serverNeverAnswers();
    void stopDuringLoad();
    void stopWhenIdleKeepsDocument();
    void navigateWhileLoading();
    void nonWebSchemeRefused();
};

void TestNetworkPageLoader::initTestCase()
{
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void TestNetworkPageLoader::load_data()
{
    QTest::addColumn<QByteArray>("response"); // for /page; %PORT% stands for the server's port
    QTest::addColumn<bool>("hasTitle");
    QTest::addColumn<QString>("title");

    const QString announced = QStringLiteral("Mirvo背单词 最新版本[1.2]");
    const QByteArray gbkTitle = "<title>" + gbk(announced) + "</title>";
    const QByteArray titled = "<title>[1.2]</title>";
    const QByteArray tooLarge = titled + QByteArray(NetworkPageLoader::maxBodySize, 'x');
    const QByteArray html = "Content-Type: text/html\r\n";

    QTest::newRow("GBK, charset in header")
        << http("200 OK", "Content-Type: text/html; charset=gbk\r\n", page(gbkTitle)) << true << announced;
    QTest::newRow("GBK, charset in meta")
        << htmlOk("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=GBK\">" + gbkTitle)
        << true << announced;
    QTest::newRow("entities in title") << htmlOk("<title>Mirvo &lsqb;1.2&#93; &amp; more</title>")
                                       << true << QStringLiteral("Mirvo [1.2] & more");
    QTest::newRow("no title") << htmlOk("<meta charset=utf-8>") << false << QString();
    QTest::newRow("404 page") << http("404 Not Found", html, page(titled)) << false << QString();
    QTest::newRow("redirect, relative") << http("302 Found", "Location: /target\r\n") << true
                                        << QStringLiteral("[1.1] target");
    QTest::newRow("redirect, absolute")
        << http("301 Moved Permanently", "Location: http://127.0.0.1:%PORT%/target\r\n") << true
        << QStringLiteral("[1.1] target");
    QTest::newRow("redirect to ftp refused") << http("302 Found", "Location: ftp://127.0.0.1:%PORT%/target\r\n")
                                             << false << QString();
    QTest::newRow("redirect to file refused") << http("302 Found", "Location: file:///etc/hostname\r\n")
                                              << false << QString();
    QTest::newRow("redirect loop gives up") << http("302 Found", "Location: /page\r\n") << false << QString();
    QTest::newRow("body at the cap")
        << http("200 OK", html, titled.leftJustified(NetworkPageLoader::maxBodySize, ' ')) << true
        << QStringLiteral("[1.2]");
    QTest::newRow("body over the cap, length given") << http("200 OK", html, tooLarge) << false << QString();
    QTest::newRow("body over the cap, no length") << http("200 OK", html, tooLarge, false) << false << QString();
}

void TestNetworkPageLoader::load()
{
    QFETCH(QByteArray, response);
    QFETCH(bool, hasTitle);
    QFETCH(QString, title);

    LocalHttpServer server;
    server.routes.insert("/page", response.replace("%PORT%", server.port()));
    server.routes.insert("/target", htmlOk("<title>[1.1] target</title>"));
    NetworkPageLoader loader(mirvo::pagetitle::documentTitle);
    QSignalSpy begins(&loader, &NetworkPageLoader::downloadBegin);
    QSignalSpy completes(&loader, &NetworkPageLoader::downloadComplete);

    loader.navigate(server.url("/page"));
    QCOMPARE(begins.count(), 1);
    QTRY_COMPARE(completes.count(), 1);
    QCOMPARE(begins.count(), 1);
    QCOMPARE(server.requests.value(0), QByteArray("/page"));
    QCOMPARE(loader.title(), hasTitle ? std::optional<QString>(title) : std::nullopt);
}

void TestNetworkPageLoader::connectionRefused()
{
    quint16 port = 0;
    {
        QTcpServer probe; // a port just freed: nobody listens there
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    NetworkPageLoader loader(mirvo::pagetitle::documentTitle);
    QSignalSpy completes(&loader, &NetworkPageLoader::downloadComplete);

    loader.navigate(QStringLiteral("http://127.0.0.1:%1/archiver/?tid-81.html").arg(port));
    QTRY_COMPARE(completes.count(), 1);
    QVERIFY(!loader.title().has_value());
}

void TestNetworkPageLoader::serverNeverAnswers()
{
    LocalHttpServer server;
    server.hanging.append("/page");
    NetworkPageLoader loader(mirvo::pagetitle::documentTitle);
    loader.setTimeout(std::chrono::milliseconds(200));
    QSignalSpy completes(&loader, &NetworkPageLoader::downloadComplete);

    loader.navigate(server.url("/page"));
    QTRY_COMPARE(completes.count(), 1);
    QCOMPARE(server.requests, QList<QByteArray>{"/page"});
    QVERIFY(!loader.title().has_value());
    QTRY_COMPARE(server.closedConnections, 1); // the abandoned connection is closed
    QCOMPARE(completes.count(), 1);
}

void TestNetworkPageLoader::stopDuringLoad()
{
    LocalHttpServer server;
    server.hanging.append("/page");
    NetworkPageLoader loader(mirvo::pagetitle::documentTitle);
    QSignalSpy completes(&loader, &NetworkPageLoader::downloadComplete);

    loader.navigate(server.url("/page"));
    QTRY_COMPARE(server.requests.size(), 1);
    QCOMPARE(completes.count(), 0);
    loader.stop();
    QCOMPARE(completes.count(), 1);
    QVERIFY(!loader.title().has_value());
    QTRY_COMPARE(server.closedConnections, 1);
    loader.stop();
    QCOMPARE(completes.count(), 1);
}

void TestNetworkPageLoader::stopWhenIdleKeepsDocument()
{
    LocalHttpServer server;
    server.routes.insert("/page", htmlOk("<title>[1.2]</title>"));
    NetworkPageLoader loader(mirvo::pagetitle::documentTitle);
    QSignalSpy completes(&loader, &NetworkPageLoader::downloadComplete);

    loader.navigate(server.url("/page"));
    QTRY_COMPARE(completes.count(), 1);
    loader.stop(); // what the update check does after reading a newer version
    QCOMPARE(completes.count(), 1);
    QCOMPARE(loader.title(), std::optional<QString>(QStringLiteral("[1.2]")));

    loader.navigate(server.url("/missing"));
    QTRY_COMPARE(completes.count(), 2);
    QVERIFY(!loader.title().has_value());
}

void TestNetworkPageLoader::navigateWhileLoading()
{
    LocalHttpServer server;
    server.hanging.append("/slow");
    server.routes.insert("/page", htmlOk("<title>[1.1]</title>"));
    NetworkPageLoader loader(mirvo::pagetitle::documentTitle);
    QSignalSpy begins(&loader, &NetworkPageLoader::downloadBegin);
    QSignalSpy completes(&loader, &NetworkPageLoader::downloadComplete);

    loader.navigate(server.url("/slow"));
    QTRY_COMPARE(server.requests.size(), 1);
    loader.navigate(server.url("/page"));
    QCOMPARE(begins.count(), 2);
    QCOMPARE(completes.count(), 1); // the abandoned load ends before the next begins
    QTRY_COMPARE(completes.count(), 2);
    QCOMPARE(loader.title(), std::optional<QString>(QStringLiteral("[1.1]")));
}

void TestNetworkPageLoader::nonWebSchemeRefused()
{
    NetworkPageLoader loader(mirvo::pagetitle::documentTitle);
    QSignalSpy begins(&loader, &NetworkPageLoader::downloadBegin);
    QSignalSpy completes(&loader, &NetworkPageLoader::downloadComplete);

    loader.navigate(QStringLiteral("data:text/html,<title>[9.9]</title>"));
    QCOMPARE(begins.count(), 1);
    QCOMPARE(completes.count(), 0); // completion comes from the event loop, as for any load
    QTRY_COMPARE(completes.count(), 1);
    QVERIFY(!loader.title().has_value());
}

QTEST_GUILESS_MAIN(TestNetworkPageLoader)
#include "tst_networkpageloader.moc"
