#include "update/UpdateConfig.h"

#include "update/mxWebUpdate.h"

#include <QStandardPaths>

namespace kalendo::update {

QString UpdatePageURL() {
    const QString configured = qEnvironmentVariable(kUpdatePageURLVariable);
    return configured.isEmpty() ? QString::fromLatin1(kDefaultUpdatePageURL) : configured;
}

QString UpdateTargetFolder() {
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\downloads");
#else
    return QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
#endif
}

void ConfigureMainWindowChecker(TmxWebUpdate& checker) {
    checker.ProductInfo().SetURL(UpdatePageURL());
    checker.ProductInfo().SetVersion(QString::fromLatin1(kRunningVersion));
    checker.ProductInfo().SetVersionFormat(vfStandard);
    checker.TagInfo() = TmxTagInfo{};
    checker.InfoCaption() = TmxInfoCaption{};
    checker.SetOptions({uoRunUpdate, uoTerminate, uoOverwrite});
    checker.SetTargetFolder(UpdateTargetFolder());
    checker.SetHTTPPort(80);
    checker.SetUserName({});
    checker.SetPassword({});
}

} // namespace kalendo::update
