#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QSslConfiguration>
#include <QString>
#include <QTcpServer>

#include <functional>
#include <memory>
#include <optional>

class QTcpSocket;

namespace kalendo::update::testing {

// One scripted answer of the test server.
struct ScriptedResponse {
    int status = 200;
    QList<QPair<QByteArray, QByteArray>> headers = {};
    QByteArray body = {};
    // Content-Length: the body's length unless omitted or replaced by a given text.
    bool omitLength = false;
    QByteArray announcedLength = {};
    // Body bytes sent before the server falls silent and keeps the connection open; -1 sends all.
    qsizetype stallAfter = -1;
};

struct RecordedRequest {
    QByteArray method;
    QByteArray target;
    QHash<QByteArray, QByteArray> headers; // names in lower case
};

// A small HTTP/1.1 server on 127.0.0.1 for the update tests: every request is answered from a
// script by its path and then the connection is closed; unknown paths get 404. Given a TLS
// configuration it speaks HTTPS.
class TestHttpServer : public QObject {
public:
    using Handler = std::function<ScriptedResponse(const RecordedRequest&)>;

    explicit TestHttpServer(const std::optional<QSslConfiguration>& tls = std::nullopt);
    ~TestHttpServer() override;

    quint16 Port() const { return server_->serverPort(); }
    // "http://127.0.0.1:<port><path>", or https
    QString Url(const QString& path) const;

    void Serve(const QByteArray& path, const ScriptedResponse& response);
    void ServeWith(const QByteArray& path, Handler handler);
    void ServeHtml(const QByteArray& path, const QByteArray& html);
    void Redirect(const QByteArray& path, const QByteArray& location, int status = 302);

    // Sends the next bytes held back by stalled responses (all of them when negative) and closes
    // each connection whose body is then complete.
    void ResumeStalled(qsizetype bytes = -1);

    const QList<RecordedRequest>& Requests() const { return requests_; }
    int RequestCount(const QByteArray& path) const;

    // A port on 127.0.0.1 that nothing listens on.
    static quint16 UnusedPort();

private:
    void Accept();
    void ReadRequest(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, const ScriptedResponse& response);

    std::unique_ptr<QTcpServer> server_;
    bool secure_ = false;
    QHash<QByteArray, Handler> routes_;
    QHash<QTcpSocket*, QByteArray> pending_;
    // Unsent body bytes of stalled responses, by connection.
    QList<QPair<QPointer<QTcpSocket>, QByteArray>> heldBack_;
    QList<RecordedRequest> requests_;
};

// The test-only certificate for 127.0.0.1 with its key (self-signed; trust it with ScopedTrust).
QSslConfiguration TestServerTls();

// Makes the test certificate trusted by every request created while it lives.
class ScopedTrust {
public:
    ScopedTrust();
    ~ScopedTrust();
    ScopedTrust(const ScopedTrust&) = delete;
    ScopedTrust& operator=(const ScopedTrust&) = delete;

private:
    QSslConfiguration previous_;
};

// A page that carries the given entries as META lines the checker reads.
QByteArray UpdatePage(const QList<QPair<QString, QString>>& entries);

} // namespace kalendo::update::testing
