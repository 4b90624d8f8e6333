#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QUrl>

namespace kestrune {

// A tiny HTTP/1.1 server on 127.0.0.1 for tests: fixed responses by path,
// counted requests, recorded request headers.
class TestHttpServer : public QObject
{
    Q_OBJECT

public:
    struct Response
    {
        int status = 200;
        QByteArray body;
        QList<QByteArray> headers; // "Name: value"
        int delayMs = 0;
    };

    explicit TestHttpServer(QObject *parent = nullptr);

    bool listen();
    QUrl url(const QString &path) const;
    void setResponse(const QString &path, const Response &response);

    int requestCount(const QString &path) const { return m_counts.value(path); }
    QByteArray lastHeader(const QByteArray &lowerCaseName) const
    {
        return m_lastHeaders.value(lowerCaseName);
    }

private:
    void serve(QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QString, Response> m_responses;
    QHash<QString, int> m_counts;
    QHash<QByteArray, QByteArray> m_lastHeaders;
};

} // namespace kestrune
