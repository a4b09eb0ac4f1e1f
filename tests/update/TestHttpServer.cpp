#include "update/TestHttpServer.h"

#include <QFile>
#include <QHostAddress>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslServer>
#include <QTcpSocket>

#include <algorithm>
#include <stdexcept>

namespace kalendo::update::testing {

namespace {

QByteArray ReadTestData(const char* name) {
    QFile file(QStringLiteral(KALENDO_TEST_DATA_DIR "/update/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error(std::string("missing test data ") + name);
    return file.readAll();
}

QSslCertificate TestCertificate() { return QSslCertificate(ReadTestData("test-server-cert.pem"), QSsl::Pem); }

} // namespace

QSslConfiguration TestServerTls() {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(TestCertificate());
    tls.setPrivateKey(QSslKey(ReadTestData("test-server-key.pem"), QSsl::Rsa, QSsl::Pem));
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    return tls;
}

ScopedTrust::ScopedTrust() : previous_(QSslConfiguration::defaultConfiguration()) {
    QSslConfiguration trusting = previous_;
    trusting.addCaCertificate(TestCertificate());
    QSslConfiguration::setDefaultConfiguration(trusting);
}

ScopedTrust::~ScopedTrust() { QSslConfiguration::setDefaultConfiguration(previous_); }

TestHttpServer::TestHttpServer(const std::optional<QSslConfiguration>& tls) : secure_(tls.has_value()) {
    if (tls) {
        auto sslServer = std::make_unique<QSslServer>();
        sslServer->setSslConfiguration(*tls);
        server_ = std::move(sslServer);
    } else {
        server_ = std::make_unique<QTcpServer>();
    }
    if (!server_->listen(QHostAddress::LocalHost, 0)) throw std::runtime_error("test server cannot listen");
    connect(server_.get(), &QTcpServer::pendingConnectionAvailable, this, &TestHttpServer::Accept);
}

TestHttpServer::~TestHttpServer() {
    for (QTcpSocket* socket : server_->findChildren<QTcpSocket*>())
        socket->abort();
    server_->close();
}

QString TestHttpServer::Url(const QString& path) const {
    return QStringLiteral("%1://127.0.0.1:%2%3").arg(secure_ ? "https" : "http").arg(Port()).arg(path);
}

void TestHttpServer::Serve(const QByteArray& path, const ScriptedResponse& response) {
    routes_[path] = [response](const RecordedRequest&) { return response; };
}

void TestHttpServer::ServeWith(const QByteArray& path, Handler handler) {
    routes_[path] = std::move(handler);
}

void TestHttpServer::ServeHtml(const QByteArray& path, const QByteArray& html) {
    ScriptedResponse response;
    response.headers = {{"Content-Type", "text/html"}};
    response.body = html;
    Serve(path, response);
}

void TestHttpServer::Redirect(const QByteArray& path, const QByteArray& location, int status) {
    ScriptedResponse response;
    response.status = status;
    response.headers = {{"Location", location}};
    Serve(path, response);
}

void TestHttpServer::ResumeStalled(qsizetype bytes) {
    for (auto& [socket, held] : heldBack_) {
        if (!socket || held.isEmpty()) continue;
        const qsizetype count = bytes < 0 ? held.size() : std::min(bytes, held.size());
        socket->write(held.left(count));
        socket->flush();
        held.remove(0, count);
        if (held.isEmpty()) socket->disconnectFromHost();
    }
}

int TestHttpServer::RequestCount(const QByteArray& path) const {
    int count = 0;
    for (const RecordedRequest& request : requests_)
        if (request.target == path) ++count;
    return count;
}

quint16 TestHttpServer::UnusedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void TestHttpServer::Accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { ReadRequest(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0) ReadRequest(socket); // arrived during the TLS handshake
    }
}

void TestHttpServer::ReadRequest(QTcpSocket* socket) {
    QByteArray& received = pending_[socket];
    received += socket->readAll();
    const qsizetype headerEnd = received.indexOf("\r\n\r\n");
    if (headerEnd < 0) return;
    const QList<QByteArray> lines = received.left(headerEnd).split('\n');
    pending_.remove(socket);

    RecordedRequest request;
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.target = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers[lines[i].left(colon).trimmed().toLower()] = lines[i].mid(colon + 1).trimmed();
    }
    requests_.append(request);

    ScriptedResponse response;
    if (const auto route = routes_.constFind(request.target); route != routes_.constEnd()) {
        response = (*route)(request);
    } else {
        response.status = 404;
        response.body = "<html><body>Not here</body></html>";
    }
    Answer(socket, response);
}

void TestHttpServer::Answer(QTcpSocket* socket, const ScriptedResponse& response) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " Scripted\r\n";
    for (const auto& [name, value] : response.headers)
        head += name + ": " + value + "\r\n";
    if (!response.omitLength)
        head += "Content-Length: " +
                (response.announcedLength.isNull() ? QByteArray::number(response.body.size())
                                                   : response.announcedLength) +
                "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head);
    if (response.stallAfter >= 0) {
        socket->write(response.body.left(response.stallAfter));
        socket->flush();
        heldBack_.append({socket, response.body.mid(response.stallAfter)});
        return; // silent from here on, until resumed; the connection stays open
    }
    socket->write(response.body);
    socket->disconnectFromHost();
}

QByteArray UpdatePage(const QList<QPair<QString, QString>>& entries) {
    QByteArray page = "<HTML>\r\n<HEAD>\r\n<TITLE>Kalendo update</TITLE>\r\n";
    for (const auto& [name, value] : entries)
        page += "<META NAME=\"" + name.toLatin1() + "\" CONTENT=\"" + value.toLatin1() + "\">\r\n";
    page +=
        "</HEAD>\r\n<BODY>\r\n<H1>Kalendo</H1>\r\n<P>A new version is ready.</P>\r\n</BODY>\r\n</HTML>\r\n";
    return page;
}

} // namespace kalendo::update::testing
