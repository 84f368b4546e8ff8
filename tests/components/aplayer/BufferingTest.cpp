// The buffering callback with a network stream that arrives slower than it plays: a local HTTP
// server trickles the test song, so mpv's cache runs dry and refills.
#include "EngineTestSupport.h"
#include "support/TestMedia.h"

#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

using namespace qinglan::aplayer;
using namespace qinglan::aplayer::test;
using qinglan::test::media;

namespace {

// Serves one file over HTTP/1.0: a head start, then a trickle far below the file's bit rate.
// No range support, so the stream is read straight through.
class TrickleServer : public QObject {
public:
    explicit TrickleServer(QByteArray body) : body_(std::move(body)) {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection())
                connect(s, &QTcpSocket::readyRead, this, [this, s] { onRequest(s); });
        });
    }
    QString url() const {
        return QStringLiteral("http://127.0.0.1:%1/song.mp3").arg(server_.serverPort());
    }

private:
    void onRequest(QTcpSocket* s) {
        if (!s->readAll().contains("\r\n\r\n") || s->property("started").toBool()) return;
        s->setProperty("started", true);
        s->write("HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\nContent-Length: " +
                 QByteArray::number(body_.size()) + "\r\nConnection: close\r\n\r\n");
        qsizetype sent = std::min<qsizetype>(24 * 1024, body_.size());
        s->write(body_.left(sent));
        auto* timer = new QTimer(s);
        connect(timer, &QTimer::timeout, s, [this, s, sent]() mutable {
            qsizetype n = std::min<qsizetype>(1500, body_.size() - sent);
            s->write(body_.mid(sent, n));
            sent += n;
            if (sent >= body_.size()) s->disconnectFromHost();
        });
        timer->start(250); // 6 KB/s for a 16 KB/s song
    }

    QByteArray body_;
    QTcpServer server_;
};

TEST(EngineBuffering, ReportsTheCacheFillingWhileANetworkStreamStallsThen100) {
    QFile song(QString::fromStdString(media("song.mp3").string()));
    ASSERT_TRUE(song.open(QIODevice::ReadOnly));
    TrickleServer server(song.readAll());
    EngineUnderTest e;
    ASSERT_TRUE(e.create());
    ASSERT_TRUE(e.engine->APlayer_OpenA(server.url().toStdString()));
    EXPECT_TRUE(waitUntil(
        [&] {
            return std::any_of(e.buffering.begin(), e.buffering.end(),
                               [](int p) { return p < 100; });
        },
        15000))
        << "no buffering reported";
    EXPECT_TRUE(waitUntil(
        [&] {
            auto low =
                std::find_if(e.buffering.begin(), e.buffering.end(), [](int p) { return p < 100; });
            return std::find(low, e.buffering.end(), 100) != e.buffering.end();
        },
        15000))
        << "buffering never reported done";
    for (int p : e.buffering) {
        EXPECT_GE(p, 0);
        EXPECT_LE(p, 100);
    }
    // Still playing the stream, not failed or ended.
    EXPECT_EQ(e.engine->APlayer_GetConfigA(cfg::PlayResult), "1");
}

} // namespace
