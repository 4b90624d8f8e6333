#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QUrl>

namespace kestrune {

// A tiny HTTP/1.1 server on 127.0.0.1 for tests: fixed responses by path,
// counted requests, recorded request headers. A response may also stream
// chunks on a timer or leave the connection open.
class TestHttpServer : public QObject
{
    Q_OBJECT

public:
    struct Response
    {
        Response(int status = 200, QByteArray body = {}, QList<QByteArray> headers = {}, int delayMs = 0)
            : status(status), body(std::move(body)), headers(std::move(headers)), delayMs(delayMs)
        {}

        int status = 200;
        QByteArray body;
        QList<QByteArray> headers; // "Name: value"; a Content-Length here replaces the real one
        int delayMs = 0;
        // With repeat > 0 the response is chunked: the body, then `piece` sent
        // `repeat` times, one every `intervalMs` while the client keeps reading.
        QByteArray piece;
        int repeat = 0;
        int intervalMs = 0;
        bool keepOpen = false; // once sent, the connection stays open with nothing more to come
    };

    explicit TestHttpServer(QObject *parent = nullptr);

    bool listen();
    QUrl url(const QString &path) const;
    void setResponse(const QString &path, const Response &response);

    int requestCount(const QString &path) const { return m_counts.value(path); }
    // The most connections that were open at once.
    int mostOpenConnections() const { return m_mostOpen; }
    QByteArray lastHeader(const QByteArray &lowerCaseName) const
    {
        return m_lastHeaders.value(lowerCaseName);
    }

private:
    void serve(QTcpSocket *socket);
    static void stream(QTcpSocket *socket, const Response &response);

    QTcpServer m_server;
    QHash<QString, Response> m_responses;
    QHash<QString, int> m_counts;
    QHash<QByteArray, QByteArray> m_lastHeaders;
    int m_open = 0;
    int m_mostOpen = 0;
};

} // namespace kestrune
