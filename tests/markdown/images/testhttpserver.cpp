#include "testhttpserver.h"

#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace kestrune {

namespace {

QByteArray chunk(const QByteArray &data)
{
    return QByteArray::number(data.size(), 16) + "\r\n" + data + "\r\n";
}

} // namespace

TestHttpServer::TestHttpServer(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            m_mostOpen = std::max(m_mostOpen, ++m_open);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this] { --m_open; });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool TestHttpServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost);
}

QUrl TestHttpServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

void TestHttpServer::setResponse(const QString &path, const Response &response)
{
    m_responses.insert(path, response);
}

void TestHttpServer::serve(QTcpSocket *socket)
{
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    const qsizetype end = request.indexOf("\r\n\r\n");
    if (end < 0)
        return;

    const QList<QByteArray> lines = request.left(end).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    const QString path = QString::fromLatin1(requestLine.value(1));
    m_counts[path] += 1;
    m_lastHeaders.clear();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            m_lastHeaders.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }

    const Response response = m_responses.value(path, Response{404, "not found", {}, 0});
    const bool chunked = response.repeat > 0;
    const bool declaresLength =
        std::any_of(response.headers.begin(), response.headers.end(),
                    [](const QByteArray &header) { return header.toLower().startsWith("content-length:"); });
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(response.status) + " Status\r\n";
    if (chunked)
        reply += "Transfer-Encoding: chunked\r\n";
    else if (!declaresLength)
        reply += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    reply += "Connection: close\r\n";
    for (const QByteArray &header : response.headers)
        reply += header + "\r\n";
    reply += "\r\n";
    if (!chunked)
        reply += response.body;
    else if (!response.body.isEmpty())
        reply += chunk(response.body);

    QTimer::singleShot(response.delayMs, socket, [socket, reply, response, chunked] {
        socket->write(reply);
        if (chunked)
            stream(socket, response);
        else if (!response.keepOpen)
            socket->disconnectFromHost();
    });
}

void TestHttpServer::stream(QTcpSocket *socket, const Response &response)
{
    auto *timer = new QTimer(socket); // stops with the connection
    auto sent = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, sent, response] {
        if (socket->bytesToWrite() > 1024 * 1024)
            return; // the client is behind; wait for it
        socket->write(chunk(response.piece));
        if (++*sent < response.repeat)
            return;
        timer->stop();
        socket->write("0\r\n\r\n");
        socket->disconnectFromHost();
    });
    timer->start(response.intervalMs);
}

} // namespace kestrune
