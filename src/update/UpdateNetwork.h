#pragma once

class QNetworkAccessManager;
class QNetworkRequest;
class QUrl;

namespace kalendo::update {

// Every request of the update checker: agent "TmxWebUpdate", "Accept: */*", never from a cache,
// no compression (so byte counts match the announced length), redirections only to the same or
// a safer scheme and at most ten of them (the checker's own transfers follow them themselves,
// by the same rule). Certificate checks stay as Qt makes them: on.
QNetworkRequest MakeUpdateRequest(const QUrl& url);

// The system's proxy settings, except that loopback addresses are always reached directly.
void UseSystemProxyExceptLoopback(QNetworkAccessManager& network);

} // namespace kalendo::update
