#include "testhttpserver.h"

#include <QTcpSocket>
#include <QTimer>

namespace kestrune {

TestHttpServer::TestHttpServer(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
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
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(response.status) + " Status\r\n";
    reply += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    reply += "Connection: close\r\n";
    for (const QByteArray &header : response.headers)
        reply += header + "\r\n";
    reply += "\r\n" + response.body;

    QTimer::singleShot(response.delayMs, socket, [socket, reply] {
        socket->write(reply);
        socket->disconnectFromHost();
    });
}

} // namespace kestrune
