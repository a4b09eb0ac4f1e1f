#include "update/UpdateNetwork.h"

#include "update/mxWebUpdate.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkRequest>
#include <QUrl>

namespace kalendo::update {

namespace {

class LoopbackDirectProxyFactory : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override {
        const QString host = query.peerHostName();
        if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
            QHostAddress(host).isLoopback())
            return {QNetworkProxy(QNetworkProxy::NoProxy)};
        return systemProxyForQuery(query);
    }
};

} // namespace

QNetworkRequest MakeUpdateRequest(const QUrl& url) {
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("TmxWebUpdate"));
    request.setRawHeader("Accept", "*/*");
    // Set by hand so Qt neither asks for nor unpacks compressed bodies.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(TmxWebUpdate::kMaxHttpRedirects);
    return request;
}

void UseSystemProxyExceptLoopback(QNetworkAccessManager& network) {
    network.setProxyFactory(new LoopbackDirectProxyFactory);
}

} // namespace kalendo::update
